#pragma once

#include <optional>
#include <string_view>

namespace rowstone {

// The reply value of a tail: everything after its first "=", to its end. The
// key before the "=" is never examined. Nothing when the tail holds no "=".
std::optional<std::string_view> GetReplyValue(std::string_view tail);

} // namespace rowstone
