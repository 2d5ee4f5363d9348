#pragma once
// Adds people to a directory database (names.nsf).
#include <string>

namespace velloran::tools {

struct PersonEntry {
    std::string name;       // "Zhang San/Velloran" or "CN=Zhang San/O=Velloran"
    std::string shortName;  // optional login alias, e.g. "zhangsan"
    std::string password;
};

// "Zhang San/Sales/Velloran" -> "CN=Zhang San/OU=Sales/O=Velloran"; a name
// already in canonical form is kept.
std::string canonicalName(const std::string& name);

// Adds a Person document with an Argon2id hash of the password, creating the
// directory (with its people views) when it does not exist; true when it
// created it. Throws a tool Failure when the name or the password is empty, the
// name already in the directory, or the file not a directory (a file not
// named names.nsf, or one without the ($Users) view). `fastHash` uses the
// smallest hashing cost, for test fixtures only.
bool addPerson(const std::string& directoryFile, const PersonEntry& person, bool fastHash = false);

// Gives the person known by `name` (any name they log in with) a new
// password and returns their canonical name. Throws a tool Failure when the
// password is empty, the directory or the person missing, or the file not a
// directory.
std::string changePassword(const std::string& directoryFile, const std::string& name, const std::string& password,
                           bool fastHash = false);

}  // namespace velloran::tools
