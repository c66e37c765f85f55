#include "StaticFileServer.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace rowstone::test {

namespace {

std::filesystem::path MakeTemporaryFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "rowstone-net-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        throw std::runtime_error("mkdtemp failed");
    }
    return pattern;
}

// The port in "Serving HTTP on 127.0.0.1 port 40123 (http://...", once the
// number is complete; 0 before.
int PortIn(const std::string& output) {
    const std::size_t at = output.find("port ");
    if (at == std::string::npos) {
        return 0;
    }
    std::size_t end = at + 5;
    while (end < output.size() && output[end] >= '0' && output[end] <= '9') {
        ++end;
    }
    if (end == at + 5 || end == output.size()) {
        return 0;
    }
    return std::stoi(output.substr(at + 5, end - at - 5));
}

// Reads the child's output until it names the port it listens on.
int ReadAnnouncedPort(int fd) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    std::string output;
    char buffer[256];
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd watch{fd, POLLIN, 0};
        if (::poll(&watch, 1, 100) <= 0) {
            continue;
        }
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0) {
            break;
        }
        output.append(buffer, static_cast<std::size_t>(n));
        if (const int port = PortIn(output); port > 0) {
            return port;
        }
    }
    throw std::runtime_error("python3 -m http.server did not start: " + output);
}

} // namespace

StaticFileServer::StaticFileServer() : folder_(MakeTemporaryFolder()) {
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe failed");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::string folder = folder_.string();
    std::vector<std::string> arguments = {"python3",   "-u", "-m",          "http.server", "--bind",
                                          "127.0.0.1", "0",  "--directory", folder};
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    const int spawned = ::posix_spawnp(&pid_, "python3", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    if (spawned != 0) {
        ::close(pipeFds[0]);
        throw std::runtime_error("python3 could not be started");
    }
    // The read end stays open while the server runs: python writes its
    // announcement in more than one piece and would die of a broken pipe.
    output_ = pipeFds[0];
    try {
        port_ = ReadAnnouncedPort(output_);
    } catch (...) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        ::close(output_);
        throw;
    }
}

StaticFileServer::~StaticFileServer() {
    ::kill(pid_, SIGTERM);
    while (::waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
    }
    ::close(output_);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

void StaticFileServer::WriteFile(const std::string& relativePath, const std::string& bytes) const {
    const std::filesystem::path file = folder_ / relativePath;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string StaticFileServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

} // namespace rowstone::test
