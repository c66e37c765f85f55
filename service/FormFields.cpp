#include "FormFields.h"

#include <charconv>

namespace rowstone::service {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

} // namespace

bool PercentDecode(std::string_view text, std::string& out) {
    out.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '+') {
            out += ' ';
        } else if (c == '%') {
            if (i + 2 >= text.size()) {
                return false;
            }
            const int high = HexValue(text[i + 1]);
            const int low = HexValue(text[i + 2]);
            if (high < 0 || low < 0) {
                return false;
            }
            out += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            out += c;
        }
    }
    return true;
}

bool FormFields::Decode(std::string_view body) {
    fields_.clear();
    size_t start = 0;
    while (start <= body.size()) {
        size_t end = body.find('&', start);
        if (end == std::string_view::npos) {
            end = body.size();
        }
        const std::string_view pair = body.substr(start, end - start);
        if (!pair.empty()) {
            const size_t equals = pair.find('=');
            std::string key;
            std::string value;
            if (pair.size() > kMaxFieldBytes || !PercentDecode(pair.substr(0, equals), key) ||
                (equals != std::string_view::npos &&
                 !PercentDecode(pair.substr(equals + 1), value)) ||
                fields_.size() >= kMaxFields || fields_.count(key) != 0) {
                return false;
            }
            fields_.emplace(std::move(key), std::move(value));
        }
        start = end + 1;
    }
    return true;
}

std::optional<std::string> FormFields::Text(const std::string& key) const {
    const auto found = fields_.find(key);
    if (found == fields_.end()) {
        return std::nullopt;
    }
    return found->second;
}

bool ParseDecimal(std::string_view text, int64_t low, int64_t high, int64_t& value) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return false;
    }
    int64_t parsed = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (error != std::errc() || end != text.data() + text.size() || parsed < low || parsed > high) {
        return false;
    }
    value = parsed;
    return true;
}

std::optional<int64_t> FormFields::Integer(const std::string& key, int64_t low,
                                           int64_t high) const {
    const std::optional<std::string> text = Text(key);
    int64_t value = 0;
    if (!text || !ParseDecimal(*text, low, high, value)) {
        return std::nullopt;
    }
    return value;
}

} // namespace rowstone::service
