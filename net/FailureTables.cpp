#include "FailureTables.h"

#include "ReplyValue.h"

namespace rowstone {

FailureMessage ReadFailure(std::span<const FailureCode> codes, std::string_view tail) {
    const auto value = GetReplyValue(tail);
    if (!value) {
        return kNetworkFailure;
    }
    for (const FailureCode& known : codes) {
        if (known.code == *value) {
            return known.message;
        }
    }
    return kNetworkFailure;
}

} // namespace rowstone
