#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace rowstone {

// The longest service address, in bytes, that is formed.
inline constexpr std::size_t kMaxServiceAddressBytes = 1024;

// The base address (scheme, host and port; trailing "/" ignored) followed by
// path, whose every "%d" is replaced in order by the next of numbers in signed
// decimal. Empty when the numbers do not match the "%d" placeholders one to one,
// or when the address would be longer than kMaxServiceAddressBytes; an empty
// address is refused by CHttpClient without traffic.
std::string ServiceAddress(std::string_view baseAddress, std::string_view path,
                           std::initializer_list<std::int32_t> numbers = {});

} // namespace rowstone
