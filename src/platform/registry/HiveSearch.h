#pragma once
// Where the program finds its registry hive, and what to tell the user when
// there is none or a component is missing from it.
//
// The files looked for, in order:
//   1. the file the environment variable VELLORAN_REGISTRY names (when set,
//      only that one, whether it exists or not),
//   2. ~/.config/velloran/registry.reg, the hive of this user,
//   3. /etc/velloran/registry.reg, the hive of the machine.
// velloran-setup writes the second as a user and the third as root.
#include <string>
#include <vector>

namespace velloran::platform {

// Environment variable that names another hive file.
inline constexpr const char* kHivePathVariable = "VELLORAN_REGISTRY";
// The machine's hive.
inline constexpr const char* kMachineHivePath = "/etc/velloran/registry.reg";
// The command that writes a hive, as the user types it.
inline constexpr const char* kSetupCommand = "velloran-setup --data DATA_FOLDER";

// ~/.config/velloran/registry.reg; empty when HOME is not set.
std::string userHivePath();

// The hive files looked for, in order (see above).
std::vector<std::string> hiveSearchPaths();

// The first of hiveSearchPaths() that exists; the last one when none does.
std::string findHive();

// The files to name when the hive at `hivePath` cannot serve: that file
// when it exists or lies outside the search order, else every file looked for.
std::vector<std::string> hiveFilesLookedFor(const std::string& hivePath);

// Why the hive at `hivePath` cannot serve, and how to mend it: names the
// file (or, when it does not exist, every file looked for) and the setup
// command. Reads like "in the registry file X; run ... to ...".
std::string hiveAdvice(const std::string& hivePath);

}  // namespace velloran::platform
