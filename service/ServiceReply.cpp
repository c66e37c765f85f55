#include "ServiceReply.h"

namespace rowstone::service {

ServiceReply ServiceReply::Success(const std::vector<std::pair<std::string, std::string>>& values) {
    ServiceReply reply;
    reply.body = "1";
    for (const auto& [key, value] : values) {
        reply.body += "&" + key + "=" + value;
    }
    return reply;
}

ServiceReply ServiceReply::Refusal(const std::string& code) {
    ServiceReply reply;
    reply.body = "0&r=" + code;
    return reply;
}

ServiceReply ServiceReply::Html(std::string page, int status) {
    ServiceReply reply;
    reply.status = status;
    reply.body = std::move(page);
    reply.contentType = "text/html; charset=utf-8";
    return reply;
}

} // namespace rowstone::service
