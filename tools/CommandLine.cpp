#include "CommandLine.h"

#include <cerrno>
#include <cstdlib>

namespace rowstone::tools {

bool CommandLine::Parse(const std::vector<std::string>& args,
                        const std::set<std::string>& allowed) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool longOption = arg.size() >= 3 && arg.compare(0, 2, "--") == 0;
        const bool shortOption = arg.size() == 2 && arg[0] == '-' && arg[1] != '-';
        if (!longOption && !shortOption) {
            positional_.push_back(arg);
            continue;
        }
        const std::string name = arg.substr(longOption ? 2 : 1);
        if (allowed.count(name) == 0) {
            error_ = "unknown option " + arg;
            return false;
        }
        if (options_.count(name) != 0) {
            error_ = "option " + arg + " given twice";
            return false;
        }
        if (i + 1 >= args.size()) {
            error_ = "option " + arg + " needs a value";
            return false;
        }
        options_[name] = args[++i];
    }
    return true;
}

std::optional<std::string> CommandLine::Option(const std::string& name) const {
    const auto found = options_.find(name);
    if (found == options_.end()) {
        return std::nullopt;
    }
    return found->second;
}

bool ParseInteger(const std::string& text, long long low, long long high, long long& value) {
    if (text.empty()) {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    const long long parsed = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || end == nullptr || *end != '\0' || parsed < low || parsed > high) {
        return false;
    }
    value = parsed;
    return true;
}

} // namespace rowstone::tools
