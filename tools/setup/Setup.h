#pragma once
// Writes the registry hive of an installation: the server's key with its
// program folder, data folder and name, and the registrations of the
// components. Run again, it changes those values and keeps the rest.
#include <functional>
#include <string>
#include <vector>

namespace velloran::tools {

// The hive to write.
struct SetupHive {
    std::string path;
    // The user's hive, under HOME: written only through the folders below
    // HOME, none of them a link, and by root only in a HOME root owns.
    bool inHome = false;
};

struct SetupOptions {
    std::string dataFolder;       // an existing folder of databases
    std::string serverName;       // empty: this host's name
    std::string componentFolder;  // the folder of nlsxbe.dll and velloran-excel.so; empty: the installed one
    SetupHive hive;
};

struct SetupResult {
    std::vector<std::string> registered;  // the component files registered
    std::string serverName;               // the name written, which --server takes
};

inline constexpr const char* kNotesComponentName = "nlsxbe.dll";
inline constexpr const char* kExcelComponentName = "velloran-excel.so";

// The hive velloran-setup writes: the file VELLORAN_REGISTRY names when set;
// else the machine's hive for root, unless `forUser`; else the user's.
SetupHive setupHive(bool forUser);

// Where `cmake --install` puts the components: PREFIX/lib/velloran, found
// from the running executable in PREFIX/bin.
std::string installedComponentFolder();

// Writes the hive and registers the components found in the component
// folder, in one update under the hive's lock, so that runs at the same
// time each keep what the others wrote. `waiting` is called when another
// program holds the lock, before waiting for it. Throws a Failure when the
// data folder or the document-database component is missing (for the
// installed folder, with what to do: a run from the build tree has none),
// or the hive cannot be read or written.
SetupResult writeSetup(const SetupOptions& options, const std::function<void()>& waiting = {});

}  // namespace velloran::tools
