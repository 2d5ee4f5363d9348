#pragma once
// Writes the registry hive of an installation: the server's key with its
// program folder, data folder and name, and the registrations of the
// components. Run again, it changes those values and keeps the rest.
#include <string>
#include <vector>

namespace velloran::tools {

struct SetupOptions {
    std::string dataFolder;       // an existing folder of databases
    std::string serverName;       // empty: this host's name
    std::string componentFolder;  // the folder of nlsxbe.dll and velloran-excel.so
    std::string hivePath;         // the hive to write
};

inline constexpr const char* kNotesComponentName = "nlsxbe.dll";
inline constexpr const char* kExcelComponentName = "velloran-excel.so";

// The hive velloran-setup writes: the file VELLORAN_REGISTRY names when set;
// else the machine's hive for root, unless `forUser`; else the user's.
std::string setupHivePath(bool forUser);

// Where `cmake --install` puts the components: PREFIX/lib/velloran, found
// from the running executable in PREFIX/bin.
std::string installedComponentFolder();

// Writes the hive and registers the components found in the component
// folder; returns the component files registered. Throws ToolError when the
// data folder or the document-database component is missing, or the hive
// cannot be read or written.
std::vector<std::string> writeSetup(const SetupOptions& options);

}  // namespace velloran::tools
