#include "WebPageServer.h"

#include <httplib.h>
#include <thread>

namespace rowstone::test {

struct WebPageServer::Running {
    httplib::Server server;
    std::thread thread;
    int port = 0;
};

WebPageServer::WebPageServer(std::map<std::string, std::string> documents,
                             std::map<std::string, std::string> formReplies)
    : running(std::make_unique<Running>()) {
    running->server.Post(".*", [replies = std::move(formReplies)](const httplib::Request& request,
                                                                  httplib::Response& response) {
        const auto found = replies.find(request.path);
        if (found == replies.end()) {
            response.status = 404;
            return;
        }
        response.set_content(found->second, "text/plain; charset=utf-8");
    });
    running->server.Get(".*", [documents = std::move(documents)](const httplib::Request& request,
                                                                 httplib::Response& response) {
        const auto found = documents.find(request.path);
        if (found == documents.end()) {
            response.status = 404;
            return;
        }
        response.set_content(found->second, "text/html; charset=utf-8");
    });
    running->port = running->server.bind_to_any_port("127.0.0.1");
    running->thread = std::thread([this] { running->server.listen_after_bind(); });
}

WebPageServer::~WebPageServer() {
    running->server.stop();
    running->thread.join();
}

QString WebPageServer::Url(const QString& path) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(running->port).arg(path);
}

} // namespace rowstone::test
