#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rowstone {

// The values of a successful login reply.
struct LoginResult {
    std::int32_t userId = 0;
    // Second value of the reply; used by no request.
    std::string loginExtra;
    std::int32_t points = 0;
    // Sent as "ses" by later requests; may itself hold "&" and "=".
    std::string sessionKey;
    bool operator==(const LoginResult&) const = default;
};

// Reads the login reply's tail: four key=value pairs joined by "&" (user id,
// extra value, points, session key), taken by position whatever the keys are
// called. The session key runs to the end of the tail. A missing value reads
// as 0 or empty.
LoginResult ParseLoginResult(std::string_view tail);

} // namespace rowstone
