#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace rowstone::service {

// The fields of an application/x-www-form-urlencoded body (percent escapes
// and "+" for a blank decoded).
class FormFields {
public:
    static constexpr size_t kMaxFields = 64;
    static constexpr size_t kMaxFieldBytes = 64 * 1024;

    // False for malformed escapes, too many fields, oversized fields or a
    // repeated key.
    bool Decode(std::string_view body);

    std::optional<std::string> Text(const std::string& key) const;
    // A whole decimal integer in [low, high], optional sign; nothing else.
    std::optional<int64_t> Integer(const std::string& key, int64_t low, int64_t high) const;

private:
    std::map<std::string, std::string> fields_;
};

bool PercentDecode(std::string_view text, std::string& out);
// Reads a whole decimal integer in [low, high]; false for anything else.
bool ParseDecimal(std::string_view text, int64_t low, int64_t high, int64_t& value);

} // namespace rowstone::service
