#include "ServiceProcess.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace rowstone::service::test {

namespace {

constexpr int kStartTimeoutMs = 10000;

// Reads the first line the service prints, "... listening on http://HOST:PORT ...".
int ReadPort(int fd) {
    std::string line;
    char c = 0;
    pollfd poller{fd, POLLIN, 0};
    while (line.find('\n') == std::string::npos) {
        if (poll(&poller, 1, kStartTimeoutMs) <= 0 || read(fd, &c, 1) != 1) {
            return -1;
        }
        line += c;
    }
    const size_t colon = line.find("127.0.0.1:");
    return colon == std::string::npos ? -1 : std::atoi(line.c_str() + colon + 10);
}

} // namespace

ServiceProcess::ServiceProcess(const std::string& dataFolder) {
    int out[2];
    int err[2];
    if (pipe(out) != 0 || pipe(err) != 0) {
        return;
    }
    pid_ = fork();
    if (pid_ == 0) {
        dup2(out[1], STDOUT_FILENO);
        dup2(err[1], STDERR_FILENO);
        close(out[0]);
        close(err[0]);
        execl(ROWSTONE_SERVICE_EXE, ROWSTONE_SERVICE_EXE, "--listen", "127.0.0.1:0", "--data",
              dataFolder.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    close(err[1]);
    errorPipe_ = err[0];
    fcntl(errorPipe_, F_SETFL, O_NONBLOCK);
    port_ = pid_ > 0 ? ReadPort(out[0]) : -1;
    close(out[0]);
}

ServiceProcess::~ServiceProcess() {
    Stop();
    if (errorPipe_ >= 0) {
        close(errorPipe_);
    }
}

int ServiceProcess::Stop() {
    if (pid_ <= 0) {
        return -1;
    }
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    Log();
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ServiceProcess::Log() {
    std::array<char, 4096> buffer{};
    for (;;) {
        const ssize_t got = read(errorPipe_, buffer.data(), buffer.size());
        if (got <= 0) {
            break;
        }
        log_.append(buffer.data(), static_cast<size_t>(got));
    }
    return log_;
}

std::string Shell(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return output;
    }
    std::array<char, 4096> buffer{};
    size_t got = 0;
    while ((got = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        output.append(buffer.data(), got);
    }
    pclose(pipe);
    return output;
}

} // namespace rowstone::service::test
