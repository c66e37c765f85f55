#include "ServiceAddress.h"

#include <string>

namespace rowstone {

std::string ServiceAddress(std::string_view baseAddress, std::string_view path,
                           std::initializer_list<std::int32_t> numbers) {
    constexpr std::string_view placeholder = "%d";
    while (!baseAddress.empty() && baseAddress.back() == '/') {
        baseAddress.remove_suffix(1);
    }
    std::string address(baseAddress);
    const auto* next = numbers.begin();
    for (;;) {
        const std::size_t at = path.find(placeholder);
        address.append(path.substr(0, at));
        if (at == std::string_view::npos) {
            break;
        }
        if (next == numbers.end()) {
            return {};
        }
        address += std::to_string(*next++);
        path.remove_prefix(at + placeholder.size());
    }
    if (next != numbers.end() || address.size() > kMaxServiceAddressBytes) {
        return {};
    }
    return address;
}

} // namespace rowstone
