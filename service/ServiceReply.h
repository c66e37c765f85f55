#pragma once

#include <string>
#include <utility>
#include <vector>

namespace rowstone::service {

// What the service answers: form replies are short texts, "1" then
// "&key=value" pairs on success, a status other than "1" and "&r=CODE" on
// refusal; pages are HTML.
struct ServiceReply {
    int status = 200;
    std::string body;
    std::string contentType = "text/plain; charset=utf-8";

    static ServiceReply
    Success(const std::vector<std::pair<std::string, std::string>>& values = {});
    static ServiceReply Refusal(const std::string& code);
    static ServiceReply Html(std::string page, int status = 200);
};

// Refusal codes the program recognises, and the service's own for requests
// that are malformed or name something that does not exist (the program
// reads those as a failed exchange).
namespace codes {
inline constexpr const char* kSession = "ses";
inline constexpr const char* kNoUser = "non";
inline constexpr const char* kPassword = "psw";
inline constexpr const char* kNotRecorded = "cha";
inline constexpr const char* kPoints = "jf";
inline constexpr const char* kNoEnvelope = "hb";
inline constexpr const char* kPending = "tx";
inline constexpr const char* kServiceFailed = "app";
inline constexpr const char* kBadRequest = "arg";
inline constexpr const char* kUnknownGame = "gid";
inline constexpr const char* kReported = "dup";
} // namespace codes

} // namespace rowstone::service
