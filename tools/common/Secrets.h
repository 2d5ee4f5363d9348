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

}  // namespace velloran::tools
