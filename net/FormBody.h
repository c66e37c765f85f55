#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rowstone {

// Percent-encodes text for an application/x-www-form-urlencoded body: every
// byte other than ASCII letters, digits and "-", ".", "_", "~" becomes %XX
// (upper-case hex), a blank included (%20). UTF-8 text stays UTF-8 once decoded.
std::string PercentEncode(std::string_view text);

// Builds a form body: key=value pairs joined by "&", in the order added, with
// every key and value percent-encoded, so that a value may hold "&", "=", "+",
// "%" or any other character and still reach the service unchanged.
class FormBody {
public:
    FormBody& AddText(std::string_view key, std::string_view value);
    // Written in signed decimal.
    FormBody& AddNumber(std::string_view key, std::int64_t value);

    const std::string& Text() const { return text_; }

private:
    void AddKey(std::string_view key);

    std::string text_;
};

} // namespace rowstone
