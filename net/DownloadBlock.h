#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace rowstone {

// A memory block that is reused from one download to the next and only grows.
class DownloadBlock {
public:
    const std::uint8_t* data() const { return bytes_.get(); }
    std::uint8_t* data() { return bytes_.get(); }
    std::uint32_t capacity() const { return capacity_; }

    // Makes the block hold at least `size` bytes. A smaller or equal request
    // keeps the block as it is; a larger one replaces it by a block of exactly
    // `size` bytes that starts with the first `keep` bytes of the old one.
    // False, with the old block kept, when `size` does not fit in 32 bits or
    // the memory cannot be had.
    bool Reserve(std::size_t size, std::size_t keep = 0);

private:
    std::unique_ptr<std::uint8_t[]> bytes_;
    std::uint32_t capacity_ = 0;
};

} // namespace rowstone
