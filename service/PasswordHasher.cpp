#include "PasswordHasher.h"

#include <sodium.h>

#include <array>

namespace rowstone::service {

namespace {

bool SodiumReady() {
    static const bool ready = sodium_init() >= 0;
    return ready;
}

} // namespace

bool PasswordHasher::Hash(const std::string& password, std::string& hash) const {
    if (!SodiumReady()) {
        return false;
    }
    const bool minimum = cost_ == Cost::Minimum;
    const unsigned long long ops =
        minimum ? crypto_pwhash_OPSLIMIT_MIN : crypto_pwhash_OPSLIMIT_INTERACTIVE;
    const size_t memory = minimum ? crypto_pwhash_MEMLIMIT_MIN : crypto_pwhash_MEMLIMIT_INTERACTIVE;
    std::array<char, crypto_pwhash_STRBYTES> text{};
    if (crypto_pwhash_str(text.data(), password.data(), password.size(), ops, memory) != 0) {
        return false;
    }
    hash = text.data();
    return true;
}

bool PasswordHasher::Verify(const std::string& hash, const std::string& password) const {
    if (!SodiumReady() || hash.size() >= crypto_pwhash_STRBYTES) {
        return false;
    }
    return crypto_pwhash_str_verify(hash.c_str(), password.data(), password.size()) == 0;
}

std::string NewSessionKey() {
    if (!SodiumReady()) {
        return {};
    }
    std::array<unsigned char, 16> bytes{};
    randombytes_buf(bytes.data(), bytes.size());
    std::array<char, 33> hex{};
    sodium_bin2hex(hex.data(), hex.size(), bytes.data(), bytes.size());
    return hex.data();
}

} // namespace rowstone::service
