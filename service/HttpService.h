#pragma once

#include "FormRequests.h"
#include "ModelLibrary.h"
#include "Storage.h"

#include <memory>
#include <string>

namespace httplib {
class Server;
struct Request;
struct Response;
} // namespace httplib

namespace rowstone::service {

// The service on HTTP: every address below "/app/pento/", form requests,
// model downloads and pages, one log line per request on standard error.
class HttpService {
public:
    // Bodies larger than this are refused with 413 before they are read.
    static constexpr size_t kMaxBodyBytes = 1024 * 1024;
    // Pages of the ranking show at most this many rows.
    static constexpr int kMaxRankingRows = 100;

    HttpService(Storage& storage, FormRequests& requests, const ModelLibrary& models);
    ~HttpService();
    HttpService(const HttpService&) = delete;
    HttpService& operator=(const HttpService&) = delete;

    // Binds host:port (port 0 picks a free one); the bound port, or -1.
    int Bind(const std::string& host, int port);
    // Serves until Stop; false when the server could not run.
    bool Run();
    // Ends Run from any thread.
    void Stop();

private:
    void RegisterFormRequests();
    void RegisterDownloads();
    void RegisterPages();
    void RegisterAccountForms();

    Storage& storage_;
    FormRequests& requests_;
    const ModelLibrary& models_;
    std::unique_ptr<httplib::Server> server_;
};

} // namespace rowstone::service
