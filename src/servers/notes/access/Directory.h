#pragma once
// The directory database (names.nsf in the data folder): Person documents
// (item Form = "Person") with the user's names in FullName (first value: the
// canonical name) and ShortName, and an Argon2id password hash in
// HTTPPassword.
#include <optional>
#include <string>

namespace velloran::notes::access {

inline constexpr const char* kDirectoryFile = "names.nsf";

// Checks the user and password against the directory in `dataPath` and
// returns the user's canonical name. Throws EngineError when the directory
// is missing, the user unknown or the password wrong.
std::string authenticate(const std::string& dataPath, const std::string& userName, const std::string& password);

// The canonical name of the user in the directory file; nothing when the
// directory has no such user.
std::optional<std::string> findUser(const std::string& directoryFile, const std::string& userName);

// An Argon2id hash of the password in libsodium's string form. `fast` uses
// the smallest work factors (for tests and generated fixtures only).
std::string hashPassword(const std::string& password, bool fast = false);

}  // namespace velloran::notes::access
