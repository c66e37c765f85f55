#pragma once

#include <QString>
#include <map>
#include <memory>
#include <string>

namespace rowstone::test {

// A small web server on 127.0.0.1 at a free port that serves fixed HTML
// documents by path, and answers form requests with fixed plain-text
// replies by path, for replies the local game service never gives.
// Stopped when it goes.
class WebPageServer {
public:
    explicit WebPageServer(std::map<std::string, std::string> documents,
                           std::map<std::string, std::string> formReplies = {});
    ~WebPageServer();
    WebPageServer(const WebPageServer&) = delete;
    WebPageServer& operator=(const WebPageServer&) = delete;

    QString Url(const QString& path) const;

private:
    struct Running;
    std::unique_ptr<Running> running;
};

} // namespace rowstone::test
