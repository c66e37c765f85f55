#pragma once

#include <QString>
#include <cstdint>
#include <initializer_list>
#include <string_view>

namespace rowstone {

// A service address (ServiceAddress) as text for a web view or the browser:
// the base address followed by path with its "%d" filled in by numbers.
// Empty when the address cannot be formed.
QString ServicePageAddress(const QString& baseAddress, std::string_view path,
                           std::initializer_list<std::int32_t> numbers = {});

} // namespace rowstone
