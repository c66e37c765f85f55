#include "FormBody.h"

#include <string>

namespace rowstone {

namespace {

bool IsUnreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

} // namespace

std::string PercentEncode(std::string_view text) {
    constexpr char hex[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(text.size());
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (IsUnreserved(c)) {
            encoded += ch;
        } else {
            encoded += '%';
            encoded += hex[c >> 4];
            encoded += hex[c & 0x0F];
        }
    }
    return encoded;
}

void FormBody::AddKey(std::string_view key) {
    if (!text_.empty()) {
        text_ += '&';
    }
    text_ += PercentEncode(key);
    text_ += '=';
}

FormBody& FormBody::AddText(std::string_view key, std::string_view value) {
    AddKey(key);
    text_ += PercentEncode(value);
    return *this;
}

FormBody& FormBody::AddNumber(std::string_view key, std::int64_t value) {
    AddKey(key);
    text_ += std::to_string(value);
    return *this;
}

} // namespace rowstone
