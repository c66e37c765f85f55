#include "ScriptedServer.h"

#include <chrono>
#include <stdexcept>

namespace rowstone::test {

ScriptedServer::ScriptedServer() : server_(std::make_unique<httplib::Server>()) {
    Start();
}

ScriptedServer::ScriptedServer(const std::string& certificateFile, const std::string& keyFile)
    : server_(std::make_unique<httplib::SSLServer>(certificateFile.c_str(), keyFile.c_str())),
      secure_(true) {
    if (!server_->is_valid()) {
        throw std::runtime_error("TLS server could not load its certificate");
    }
    Start();
}

void ScriptedServer::Start() {
    Reply("1");
    auto serve = [this](const httplib::Request& request, httplib::Response& response) {
        Handler handler;
        {
            std::lock_guard lock(mutex_);
            requests_.push_back({request.method, request.path, request.headers, request.body,
                                 request.params, request.remote_port});
            handler = handler_;
        }
        handler(request, response);
    };
    server_->Post(".*", serve);
    server_->Get(".*", serve);
    // Answers in one go instead of waiting for delayed ACKs between writes.
    server_->set_tcp_nodelay(true);
    port_ = server_->bind_to_any_port("127.0.0.1");
    if (port_ <= 0) {
        throw std::runtime_error("test server could not bind to 127.0.0.1");
    }
    thread_ = std::thread([this] { server_->listen_after_bind(); });
    while (!server_->is_running()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

ScriptedServer::~ScriptedServer() {
    server_->stop();
    thread_.join();
}

std::string ScriptedServer::BaseUrl() const {
    return std::string(secure_ ? "https" : "http") + "://127.0.0.1:" + std::to_string(port_);
}

void ScriptedServer::Reply(const std::string& body) {
    Handle([body](const httplib::Request&, httplib::Response& response) {
        response.set_content(body, "text/plain");
    });
}

void ScriptedServer::Handle(Handler handler) {
    std::lock_guard lock(mutex_);
    handler_ = std::move(handler);
}

std::vector<ReceivedRequest> ScriptedServer::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

} // namespace rowstone::test
