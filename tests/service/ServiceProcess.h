#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace rowstone::service::test {

// The rowstone-service program running on 127.0.0.1 at a free port with a
// data folder of its own, stopped (SIGTERM) when the object goes.
class ServiceProcess {
public:
    explicit ServiceProcess(const std::string& dataFolder);
    ~ServiceProcess();
    ServiceProcess(const ServiceProcess&) = delete;
    ServiceProcess& operator=(const ServiceProcess&) = delete;

    bool Running() const { return port_ > 0; }
    std::string BaseUrl() const { return "http://127.0.0.1:" + std::to_string(port_); }
    // Sends SIGTERM and waits; the exit status, or -1.
    int Stop();
    // What the service wrote to standard error so far.
    std::string Log();

private:
    pid_t pid_ = -1;
    int port_ = -1;
    int errorPipe_ = -1;
    std::string log_;
};

// Runs a shell command line and returns its standard output.
std::string Shell(const std::string& command);

} // namespace rowstone::service::test
