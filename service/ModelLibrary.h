#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace rowstone::service {

// The model files the service hands out, model_3.mod to model_15.mod in
// one folder.
class ModelLibrary {
public:
    static constexpr int kFirstConnectLength = 3;
    static constexpr int kLastConnectLength = 15;
    static constexpr size_t kMaxModelBytes = 64u * 1024u * 1024u;

    explicit ModelLibrary(std::string folder) : folder_(std::move(folder)) {}

    const std::string& Folder() const { return folder_; }
    // The bytes of the model for a connect length, or nothing when the
    // length is out of range or the file is missing or too large.
    std::optional<std::vector<uint8_t>> Read(int connectLength) const;

private:
    std::string folder_;
};

} // namespace rowstone::service
