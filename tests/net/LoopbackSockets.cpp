#include "LoopbackSockets.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace rowstone::test {

LoopbackSocket::LoopbackSocket(Mode mode) {
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd_ < 0) {
        throw std::runtime_error("socket() failed");
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (::bind(fd_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
        (mode == Mode::Silent && ::listen(fd_, 8) != 0)) {
        ::close(fd_);
        throw std::runtime_error("could not prepare a loopback socket");
    }
    port_ = ntohs(address.sin_port);
}

LoopbackSocket::~LoopbackSocket() {
    ::close(fd_);
}

std::string LoopbackSocket::Url(const std::string& scheme, const std::string& path) const {
    return scheme + "://127.0.0.1:" + std::to_string(port_) + path;
}

bool LoopbackSocket::HasPendingConnection() const {
    pollfd watch{fd_, POLLIN, 0};
    return ::poll(&watch, 1, 0) > 0 && (watch.revents & POLLIN) != 0;
}

} // namespace rowstone::test
