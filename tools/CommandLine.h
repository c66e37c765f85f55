#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace rowstone::tools {

// Splits arguments into positional ones and "--name value" or "-n value"
// options (the name without its dashes in the allowed set), refusing
// options outside the allowed set, repeated options and options without a
// value.
class CommandLine {
public:
    bool Parse(const std::vector<std::string>& args, const std::set<std::string>& allowed);

    const std::vector<std::string>& Positional() const { return positional_; }
    std::optional<std::string> Option(const std::string& name) const;
    const std::string& Error() const { return error_; }

private:
    std::vector<std::string> positional_;
    std::map<std::string, std::string> options_;
    std::string error_;
};

// Reads a whole decimal integer in [low, high]; false for anything else.
bool ParseInteger(const std::string& text, long long low, long long high, long long& value);

} // namespace rowstone::tools
