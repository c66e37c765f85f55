#pragma once

#include <string>

namespace rowstone::test {

// A TCP socket bound to 127.0.0.1 at a free port, closed when destroyed.
class LoopbackSocket {
public:
    enum class Mode {
        // Bound but not listening: every connection attempt is refused.
        Refusing,
        // Listening but never accepting: connections complete in the
        // kernel's backlog and then hear nothing, ever.
        Silent,
    };

    explicit LoopbackSocket(Mode mode);
    ~LoopbackSocket();
    LoopbackSocket(const LoopbackSocket&) = delete;
    LoopbackSocket& operator=(const LoopbackSocket&) = delete;

    int port() const { return port_; }
    std::string Url(const std::string& scheme, const std::string& path) const;

    // True when a connection is waiting to be accepted (Silent mode only).
    bool HasPendingConnection() const;

private:
    int fd_ = -1;
    int port_ = -1;
};

} // namespace rowstone::test
