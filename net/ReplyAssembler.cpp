#include "ReplyAssembler.h"

#include <algorithm>
#include <cstring>

namespace rowstone {

bool ReplyAssembler::Append(const char* data, std::size_t size) {
    if (size > limitBytes_ - received_) {
        return false;
    }
    received_ += size;
    while (size > 0) {
        const std::size_t take = std::min(size, chunkBytes_ - chunkOffset_);
        if (!chunkCut_) {
            const void* nul = std::memchr(data, '\0', take);
            const std::size_t kept =
                nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - data) : take;
            text_.append(data, kept);
            chunkCut_ = nul != nullptr;
        }
        data += take;
        size -= take;
        chunkOffset_ += take;
        if (chunkOffset_ == chunkBytes_) {
            chunkOffset_ = 0;
            chunkCut_ = false;
        }
    }
    return true;
}

} // namespace rowstone
