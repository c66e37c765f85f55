#include "ServiceCommandLine.h"

#include "FormFields.h"

#include <cstdlib>

namespace rowstone::service {

namespace {

bool ParseListen(const std::string& text, std::string& host, int& port) {
    const size_t colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0) {
        return false;
    }
    int64_t value = 0;
    if (!ParseDecimal(text.substr(colon + 1), 0, 65535, value)) {
        return false;
    }
    host = text.substr(0, colon);
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') {
        host = host.substr(1, host.size() - 2);
    }
    port = static_cast<int>(value);
    return true;
}

} // namespace

std::string ServiceCommandLine::DefaultDataFolder() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg != nullptr && xdg[0] == '/') {
        return std::string(xdg) + "/rowstone-service";
    }
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : ".") + "/.local/share/rowstone-service";
}

const char* ServiceCommandLine::Usage() {
    return "usage: rowstone-service [--listen HOST:PORT] [--data DIR] [--models DIR]\n"
           "       rowstone-service user add NAME PASSWORD [--points N] [--data DIR]\n";
}

bool ServiceCommandLine::Parse(const std::vector<std::string>& args, std::string& error) {
    size_t i = 0;
    if (!args.empty() && args[0] == "user") {
        if (args.size() < 4 || args[1] != "add") {
            error = "user add needs NAME and PASSWORD";
            return false;
        }
        mode = Mode::AddUser;
        userName = args[2];
        password = args[3];
        i = 4;
    }
    bool listenSeen = false, dataSeen = false, modelsSeen = false, pointsSeen = false;
    for (; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (i + 1 >= args.size()) {
            error = "option " + option + " needs a value";
            return false;
        }
        const std::string& value = args[++i];
        if (option == "--data" && !dataSeen) {
            dataSeen = true;
            dataFolder = value;
        } else if (option == "--listen" && mode == Mode::Serve && !listenSeen) {
            listenSeen = true;
            if (!ParseListen(value, host, port)) {
                error = "--listen needs HOST:PORT with a port from 0 to 65535";
                return false;
            }
        } else if (option == "--models" && mode == Mode::Serve && !modelsSeen) {
            modelsSeen = true;
            modelsFolder = value;
        } else if (option == "--points" && mode == Mode::AddUser && !pointsSeen) {
            pointsSeen = true;
            int64_t parsed = 0;
            if (!ParseDecimal(value, 0, 1000000000, parsed)) {
                error = "--points needs a number from 0 to 1000000000";
                return false;
            }
            points = parsed;
        } else {
            error = "unexpected argument " + option;
            return false;
        }
    }
    if (dataFolder.empty()) {
        dataFolder = DefaultDataFolder();
    }
    return true;
}

} // namespace rowstone::service
