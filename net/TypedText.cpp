#include "TypedText.h"

#include "Utf8Text.h"

#include <algorithm>
#include <cstddef>

namespace rowstone {

namespace {

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

} // namespace

std::string_view TrimTypedText(std::string_view text) {
    std::size_t begin = text.size();
    std::size_t end = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = pos;
        if (!IsWhiteSpace(utf8::DecodeNext(text, pos))) {
            begin = std::min(begin, start);
            end = pos;
        }
    }
    return begin < end ? text.substr(begin, end - begin) : std::string_view{};
}

bool ContainsReservedCharacter(std::string_view text) {
    return text.find_first_of("&=+") != std::string_view::npos;
}

std::string BlankOutSeparators(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c == '&' || c == '=') {
            c = ' ';
        }
    }
    return out;
}

} // namespace rowstone
