#pragma once

#include <string>
#include <string_view>

namespace rowstone {

// Rules for texts that the player types (UTF-8).

// Without leading and trailing white space: ASCII blank, tab, line breaks, \v
// and \f, and the Unicode spaces (no-break space, ideographic space and the
// other White_Space characters). Spaces inside stay.
std::string_view TrimTypedText(std::string_view text);

// True when text holds one of the reserved characters "&", "=" and "+"; the
// user name, the password, the withdrawal account and the e-mail address are
// refused then.
bool ContainsReservedCharacter(std::string_view text);

// The feedback text with every "&" and every "=" replaced by a blank.
std::string BlankOutSeparators(std::string_view text);

} // namespace rowstone
