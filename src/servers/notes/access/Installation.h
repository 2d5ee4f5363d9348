#pragma once
// The facts about this machine's installation that sessions need: where
// the data folder is, what the server is called, and how server database
// paths map to files.
#include <string>

namespace velloran::notes::access {

struct Installation {
    std::string dataPath;    // the data folder
    std::string serverName;  // e.g. "VelloranDemo/Velloran"
};

// Reads HKEY_LOCAL_MACHINE\Software\Lotus\Domino (DataPath, ServerName) from
// the hive; throws a Failure when no installation is registered there.
Installation readInstallation(const std::string& hivePath);

// True when `requested` names this installation's server: its full name,
// its common name (the part before "/"), or this machine's host name, in
// any letter case.
bool isThisServer(const std::string& requested, const Installation& installation);

// The file of a server database: `databasePath` is relative to the data
// folder with "\" between its parts. Throws a Failure for an absolute
// path, "." or ".." parts, or a path that leaves the data folder.
std::string serverDatabaseFile(const Installation& installation, const std::string& databasePath);

// True when `file` is the installation's user directory (names.nsf in the
// data folder), under whatever path or link it is reached.
bool isDirectoryFile(const Installation& installation, const std::string& file);

}  // namespace velloran::notes::access
