#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace rowstone::utf8 {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// Decodes the code point that starts at text[pos] and moves pos past it. A
// malformed, overlong, surrogate or truncated sequence yields
// kReplacementCharacter and moves pos past its longest valid prefix (at least
// one byte), as the Unicode standard recommends.
char32_t DecodeNext(std::string_view text, std::size_t& pos);

// True for the Unicode White_Space characters: ASCII blank, tab, line breaks,
// \v and \f, and the wider spaces (no-break, ideographic, en, em and others).
bool IsWhiteSpace(char32_t c);

// Appends the UTF-8 form of code point c.
void Append(std::string& out, char32_t c);

// text with every malformed sequence replaced by U+FFFD; text itself when it
// is already valid.
std::string MakeValid(std::string_view text);

} // namespace rowstone::utf8
