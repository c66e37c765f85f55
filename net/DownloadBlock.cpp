#include "DownloadBlock.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

namespace rowstone {

bool DownloadBlock::Reserve(std::size_t size, std::size_t keep) {
    if (size <= capacity_) {
        return true;
    }
    if (size > std::numeric_limits<std::uint32_t>::max()) {
        return false;
    }
    std::unique_ptr<std::uint8_t[]> grown(new (std::nothrow) std::uint8_t[size]);
    if (!grown) {
        return false;
    }
    keep = std::min<std::size_t>(keep, capacity_);
    if (keep > 0) {
        std::memcpy(grown.get(), bytes_.get(), keep);
    }
    bytes_ = std::move(grown);
    capacity_ = static_cast<std::uint32_t>(size);
    return true;
}

} // namespace rowstone
