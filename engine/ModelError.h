#pragma once

#include <cstddef>
#include <string>

namespace rowstone {

// Why a model file was refused and at which byte offset of the file the
// reading stopped.
struct ModelError {
    std::string reason;
    size_t offset = 0;
};

} // namespace rowstone
