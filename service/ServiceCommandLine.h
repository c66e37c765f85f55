#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace rowstone::service {

// rowstone-service [--listen HOST:PORT] [--data DIR] [--models DIR]
// rowstone-service user add NAME PASSWORD [--points N] [--data DIR]
struct ServiceCommandLine {
    enum class Mode { Serve, AddUser };

    Mode mode = Mode::Serve;
    std::string host = "127.0.0.1";
    int port = 8765;
    std::string dataFolder;
    std::string modelsFolder;
    std::string userName;
    std::string password;
    std::optional<int64_t> points;

    // False with a reason for anything the usage does not allow.
    bool Parse(const std::vector<std::string>& args, std::string& error);

    static std::string DefaultDataFolder();
    static const char* Usage();
};

} // namespace rowstone::service
