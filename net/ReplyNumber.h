#pragma once

#include <cstdint>
#include <string_view>

namespace rowstone {

// Reads a reply value as a signed decimal number: leading white space (as
// TrimTypedText knows it) and one "+" or "-" are accepted, reading stops at
// the first character that is not a digit, and a text without digits reads as 0.
// A number beyond the 32-bit range reads as the nearest 32-bit limit
// (INT32_MAX or INT32_MIN), however many digits follow.
std::int32_t ReadReplyNumber(std::string_view text);

} // namespace rowstone
