#pragma once

#include <filesystem>
#include <string>
#include <sys/types.h>

namespace rowstone::test {

// Python's http.server serving a temporary folder on 127.0.0.1 at a free
// port: a download server that nobody here wrote. Stopped, and its folder
// removed, when destroyed.
class StaticFileServer {
public:
    StaticFileServer();
    ~StaticFileServer();
    StaticFileServer(const StaticFileServer&) = delete;
    StaticFileServer& operator=(const StaticFileServer&) = delete;

    // Writes a file below the served folder (sub-folders created as needed).
    void WriteFile(const std::string& relativePath, const std::string& bytes) const;
    std::string Url(const std::string& path) const;

private:
    std::filesystem::path folder_;
    pid_t pid_ = -1;
    int output_ = -1;
    int port_ = -1;
};

} // namespace rowstone::test
