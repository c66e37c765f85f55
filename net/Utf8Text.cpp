#include "Utf8Text.h"

namespace rowstone::utf8 {

namespace {

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

} // namespace

char32_t DecodeNext(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    ++pos;
    if (lead < 0x80) {
        return lead;
    }
    int length = 0;
    char32_t c = 0;
    // The allowed range of the second byte narrows for the lead bytes whose
    // sequences would otherwise be overlong, surrogates or beyond U+10FFFF.
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        c = lead & 0x0F;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        c = lead & 0x07;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return kReplacementCharacter;
    }
    for (int i = 1; i < length; ++i) {
        if (pos >= text.size()) {
            return kReplacementCharacter;
        }
        const auto byte = static_cast<unsigned char>(text[pos]);
        if (i == 1 ? (byte < low || byte > high) : !IsContinuation(byte)) {
            return kReplacementCharacter;
        }
        c = (c << 6) | (byte & 0x3F);
        ++pos;
    }
    return c;
}

bool IsWhiteSpace(char32_t c) {
    switch (c) {
    case 0x0009:
    case 0x000A:
    case 0x000B:
    case 0x000C:
    case 0x000D:
    case 0x0020:
    case 0x0085:
    case 0x00A0:
    case 0x1680:
    case 0x2028:
    case 0x2029:
    case 0x202F:
    case 0x205F:
    case 0x3000:
        return true;
    default:
        return c >= 0x2000 && c <= 0x200A;
    }
}

void Append(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string MakeValid(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = pos;
        const char32_t c = DecodeNext(text, pos);
        if (c == kReplacementCharacter && text.substr(start, pos - start) != "\xEF\xBF\xBD") {
            Append(out, kReplacementCharacter);
        } else {
            out.append(text.substr(start, pos - start));
        }
    }
    return out;
}

} // namespace rowstone::utf8
