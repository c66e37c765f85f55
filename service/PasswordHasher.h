#pragma once

#include <string>

namespace rowstone::service {

// Slow salted password hashes (Argon2id through libsodium), stored as the
// self-describing text that holds the salt and the cost.
class PasswordHasher {
public:
    enum class Cost { Interactive, Minimum };

    explicit PasswordHasher(Cost cost = Cost::Interactive) : cost_(cost) {}

    // False when libsodium cannot be started or is out of memory.
    bool Hash(const std::string& password, std::string& hash) const;
    bool Verify(const std::string& hash, const std::string& password) const;

private:
    Cost cost_;
};

// A new session key: 32 lower-case hex digits from the system's CSPRNG, so
// it holds none of "&", "=" and "+".
std::string NewSessionKey();

} // namespace rowstone::service
