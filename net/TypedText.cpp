#include "TypedText.h"

#include "Utf8Text.h"

#include <algorithm>
#include <cstddef>

namespace rowstone {

std::string_view TrimTypedText(std::string_view text) {
    std::size_t begin = text.size();
    std::size_t end = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = pos;
        if (!utf8::IsWhiteSpace(utf8::DecodeNext(text, pos))) {
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
