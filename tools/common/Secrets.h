#pragma once
// Clearing secrets from memory once they are no longer needed.
#include <sodium.h>

#include <string>

namespace velloran::tools {

// Overwrites the text's bytes with zeros (in a way the compiler keeps) and
// empties it.
inline void wipe(std::string& secret) {
    sodium_memzero(secret.data(), secret.size());
    secret.clear();
}

// Wipes a secret however the scope that holds it ends.
class WipedOnExit {
public:
    explicit WipedOnExit(std::string& secret) : secret_(secret) {}
    WipedOnExit(const WipedOnExit&) = delete;
    WipedOnExit& operator=(const WipedOnExit&) = delete;
    ~WipedOnExit() { wipe(secret_); }

private:
    std::string& secret_;
};

}  // namespace velloran::tools
