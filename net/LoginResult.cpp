#include "LoginResult.h"

#include "ReplyNumber.h"

namespace rowstone {

namespace {

// Drops the rest up to and including its first "="; nothing without one.
void SkipKey(std::string_view& rest) {
    const std::size_t equals = rest.find('=');
    if (equals != std::string_view::npos) {
        rest.remove_prefix(equals + 1);
    }
}

// The part of the rest before its first "&", which is dropped with the "&";
// empty, with nothing dropped, without one.
std::string_view TakeValue(std::string_view& rest) {
    const std::size_t amp = rest.find('&');
    if (amp == std::string_view::npos) {
        return {};
    }
    const std::string_view value = rest.substr(0, amp);
    rest.remove_prefix(amp + 1);
    return value;
}

} // namespace

LoginResult ParseLoginResult(std::string_view tail) {
    LoginResult result;
    std::string_view rest = tail;
    SkipKey(rest);
    result.userId = ReadReplyNumber(TakeValue(rest));
    SkipKey(rest);
    result.loginExtra = std::string(TakeValue(rest));
    SkipKey(rest);
    result.points = ReadReplyNumber(TakeValue(rest));
    SkipKey(rest);
    result.sessionKey = std::string(rest);
    return result;
}

} // namespace rowstone
