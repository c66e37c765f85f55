#include "ReplyNumber.h"

#include <cstddef>
#include <limits>

namespace rowstone {

namespace {

bool IsAsciiSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

} // namespace

std::int32_t ReadReplyNumber(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && IsAsciiSpace(text[pos])) {
        ++pos;
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
