#include "ReplyNumber.h"

#include "Utf8Text.h"

#include <cstddef>
#include <limits>

namespace rowstone {

std::int32_t ReadReplyNumber(std::string_view text) {
    std::size_t pos = 0;
    for (std::size_t next = 0; next < text.size(); pos = next) {
        if (!utf8::IsWhiteSpace(utf8::DecodeNext(text, next))) {
            break;
        }
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    // The magnitude is accumulated up to one past INT32_MAX, which is enough
    // to tell INT32_MIN from an overflow; further digits only saturate.
    constexpr std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        magnitude = magnitude * 10 + (text[pos] - '0');
        if (magnitude > limit) {
            magnitude = limit;
        }
    }
    if (negative) {
        return static_cast<std::int32_t>(-magnitude);
    }
    return magnitude >= limit ? std::numeric_limits<std::int32_t>::max()
                              : static_cast<std::int32_t>(magnitude);
}

} // namespace rowstone
