#include "ReplyValue.h"

namespace rowstone {

std::optional<std::string_view> GetReplyValue(std::string_view tail) {
    const std::size_t equals = tail.find('=');
    if (equals == std::string_view::npos) {
        return std::nullopt;
    }
    return tail.substr(equals + 1);
}

} // namespace rowstone
