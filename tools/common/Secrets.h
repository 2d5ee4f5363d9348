#pragma once
// Clearing secrets from memory once they are no longer needed.
#include <sodium.h>

#include <string>

#include <sys/prctl.h>

namespace velloran::tools {

// Keeps a process that holds a password from leaving a core dump, and other
// processes of the same user from attaching to it. False (errno set) when
// the system refuses.
inline bool keepOutOfCoreDumps() { return ::prctl(PR_SET_DUMPABLE, 0) == 0; }

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
