#include "ModelLibrary.h"

#include <fstream>

namespace rowstone::service {

std::optional<std::vector<uint8_t>> ModelLibrary::Read(int connectLength) const {
    if (connectLength < kFirstConnectLength || connectLength > kLastConnectLength) {
        return std::nullopt;
    }
    const std::string path = folder_ + "/model_" + std::to_string(connectLength) + ".mod";
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        return std::nullopt;
    }
    const std::streamoff size = in.tellg();
    if (size < 0 || static_cast<uint64_t>(size) > kMaxModelBytes) {
        return std::nullopt;
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    in.seekg(0);
    if (size > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), size)) {
        return std::nullopt;
    }
    return bytes;
}

} // namespace rowstone::service
