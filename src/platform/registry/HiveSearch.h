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
#include <sys/types.h>
#include <vector>

namespace velloran::platform {

// Environment variable that names another hive file.
inline constexpr const char* kHivePathVariable = "VELLORAN_REGISTRY";
// The machine's hive.
inline constexpr const char* kMachineHivePath = "/etc/velloran/registry.reg";
// The command that writes a hive, as the user types it: in the original
// (English) words of a failure, and in the text the user reads.
inline constexpr const char* kSetupCommand = "velloran-setup --data DATA_FOLDER";
inline constexpr const char* kSetupCommandShown = "velloran-setup --data 数据目录";

// The hive's file name, in the user's folder and the machine's.
inline constexpr const char* kHiveFileName = "registry.reg";

// ~/.config/velloran/registry.reg; empty when HOME is not set.
std::string userHivePath();

// Whether a process running as `processUser` may write a user hive into a
// HOME that `homeOwner` owns. Root may only write into a HOME of its own:
// in another user's it would make files that user cannot change, through
// links that user planted.
bool mayWriteUserHive(uid_t processUser, uid_t homeOwner);

class OpenFolder;
// The folder of the user's hive, ~/.config/velloran, each folder below HOME
// created when missing and opened without following a symbolic link, so
// that nothing is written through a link planted on the way. Throws
// a Failure (Kind::Registry) when HOME is not set, belongs to another user while this
// process runs as root (see mayWriteUserHive), or a folder on the way is a
// link or cannot be created.
OpenFolder openUserHiveFolder();

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

// The same for the user, of a component missing from the hive, without
// the component's class id: "没有找到注册表文件（找过：…），请先运行
// velloran-setup --data 数据目录".
std::string missingRegistration(const std::string& hivePath);

}  // namespace velloran::platform
