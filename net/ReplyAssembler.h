#pragma once

#include <cstddef>
#include <string>

namespace rowstone {

// Collects a reply body that arrives in pieces of any size, as if it were read
// in fixed chunks into a NUL-terminated buffer: from each chunk only the bytes
// before its first NUL byte are kept. Refuses a body longer than its limit.
class ReplyAssembler {
public:
    ReplyAssembler(std::size_t chunkBytes, std::size_t limitBytes)
        : chunkBytes_(chunkBytes), limitBytes_(limitBytes) {}

    // False, keeping nothing of the piece, once the body exceeds the limit.
    bool Append(const char* data, std::size_t size);

    const std::string& Text() const { return text_; }

private:
    std::size_t chunkBytes_;
    std::size_t limitBytes_;
    std::size_t received_ = 0;
    std::size_t chunkOffset_ = 0;
    bool chunkCut_ = false;
    std::string text_;
};

} // namespace rowstone
