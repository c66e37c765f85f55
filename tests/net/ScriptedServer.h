#pragma once

#include <httplib.h>

#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace rowstone::test {

// What a test server received in one request.
struct ReceivedRequest {
    std::string method;
    std::string path;
    httplib::Headers headers;
    std::string body;
    // The body's fields as the server's form decoder read them.
    httplib::Params params;
    int remotePort = -1;
};

// An HTTP server on 127.0.0.1 at a free port that answers every POST and GET
// with a scripted handler (by default: the text set by Reply) and records the
// requests it received. Stops when destroyed.
class ScriptedServer {
public:
    using Handler = std::function<void(const httplib::Request&, httplib::Response&)>;

    ScriptedServer();
    // Serves over TLS with the given certificate and key (PEM files).
    ScriptedServer(const std::string& certificateFile, const std::string& keyFile);
    ~ScriptedServer();

    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;

    int port() const { return port_; }
    // "http://127.0.0.1:PORT" (https for a TLS server).
    std::string BaseUrl() const;
    std::string Url(const std::string& path) const { return BaseUrl() + path; }

    // Every later request is answered with this body, status 200, text/plain.
    void Reply(const std::string& body);
    void Handle(Handler handler);

    std::vector<ReceivedRequest> Requests() const;

private:
    void Start();

    std::unique_ptr<httplib::Server> server_;
    bool secure_ = false;
    int port_ = -1;
    std::thread thread_;
    mutable std::mutex mutex_;
    Handler handler_;
    std::vector<ReceivedRequest> requests_;
};

} // namespace rowstone::test
