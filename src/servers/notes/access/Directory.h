#pragma once
// The directory database (names.nsf in the data folder): Person documents
// (item Form = "Person") with the user's names in FullName (first value: the
// canonical name) and ShortName, and an Argon2id password hash in
// HTTPPassword.
#include <functional>
#include <optional>
#include <string>

namespace velloran::notes::access {

inline constexpr const char* kDirectoryFile = "names.nsf";
inline constexpr const char* kPasswordItem = "HTTPPassword";

// Checks a password against a stored hash; true when it matches.
using PasswordVerifier = std::function<bool(const std::string& hash, const std::string& password)>;

// The verifier of libsodium's Argon2 hash strings.
bool verifyArgon2(const std::string& hash, const std::string& password);

// Checks the user and password against the directory in `dataPath` and
// returns the user's canonical name. Throws a Failure when the data folder
// or the directory is missing, the user unknown or the password wrong (a
// user without a password counts as a wrong password). Every attempt costs
// one verification: an unknown user (or one without a password) is checked
// against a hash no password matches, with the cost parameters of the
// directory's hashes.
std::string authenticate(const std::string& dataPath, const std::string& userName, const std::string& password,
                         const PasswordVerifier& verify = verifyArgon2);

// A user's Person document in the directory.
struct DirectoryEntry {
    std::string canonicalName;
    std::int64_t noteId = 0;
};

// The user's entry in the directory file; nothing when the directory has no
// such user.
std::optional<DirectoryEntry> findUser(const std::string& directoryFile, const std::string& userName);

// An Argon2id hash of the password in libsodium's string form. `fast` uses
// the smallest work factors (for tests and generated fixtures only).
std::string hashPassword(const std::string& password, bool fast = false);

// True when the text holds an Argon2 password hash string.
bool holdsPasswordHash(const std::string& text);

}  // namespace velloran::notes::access
