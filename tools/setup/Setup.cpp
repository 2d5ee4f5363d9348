#include "setup/Setup.h"

#include "common/ToolError.h"
#include "component/ComponentRuntime.h"
#include "files/OpenFolder.h"
#include "host/HostName.h"
#include "registry/HiveSearch.h"
#include "registry/RegistryHive.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace velloran::tools {

namespace {

namespace fs = std::filesystem;

constexpr const char* kDominoKey = "HKEY_LOCAL_MACHINE\\Software\\Lotus\\Domino";

std::string existingFolder(const std::string& folder, const char* what) {
    std::error_code error;
    if (!fs::is_directory(folder, error))
        throw toolFailure("The " + std::string(what) + " " + folder + " is not an existing folder");
    return fs::canonical(folder).string();
}

void createFolderOf(const std::string& hivePath) {
    const fs::path hiveFile(hivePath);
    std::error_code error;
    if (hiveFile.has_parent_path()) fs::create_directories(hiveFile.parent_path(), error);
    if (error)
        throw toolFailure("Cannot create the folder " + hiveFile.parent_path().string() + ": " + error.message());
}

void updateHive(const SetupHive& hive, const std::function<void(platform::RegistryHive&)>& change,
                const std::function<void()>& waiting) {
    if (hive.inHome) {
        platform::RegistryHive::update(platform::openUserHiveFolder(), platform::kHiveFileName, change, waiting);
        return;
    }
    createFolderOf(hive.path);
    platform::RegistryHive::update(hive.path, change, waiting);
}

void writeInstallationKey(platform::RegistryHive& hive, const SetupOptions& options,
                          const std::string& componentFolder, const std::string& dataFolder) {
    hive.setString(kDominoKey, "Path", componentFolder);
    hive.setString(kDominoKey, "DataPath", dataFolder);
    hive.setString(kDominoKey, "ServerName",
                   options.serverName.empty() ? platform::localHostName() : options.serverName);
}

}  // namespace

SetupHive setupHive(bool forUser) {
    const char* chosen = std::getenv(platform::kHivePathVariable);
    if (chosen && *chosen) return {chosen, false};
    if (::geteuid() == 0 && !forUser) return {platform::kMachineHivePath, false};
    std::string user = platform::userHivePath();
    if (user.empty()) throw toolFailure("HOME is not set, so there is no user hive to write; run as root or set HOME");
    return {user, true};
}

std::string installedComponentFolder() {
    std::error_code error;
    fs::path executable = fs::read_symlink("/proc/self/exe", error);
    if (error) throw toolFailure("Cannot find the program's own file: " + error.message());
    return (executable.parent_path().parent_path() / "lib" / "velloran").string();
}

std::vector<std::string> writeSetup(const SetupOptions& options, const std::function<void()>& waiting) {
    const std::string dataFolder = existingFolder(options.dataFolder, "data folder");
    const std::string componentFolder = existingFolder(options.componentFolder, "component folder");
    const fs::path notes = fs::path(componentFolder) / kNotesComponentName;
    if (!fs::is_regular_file(notes))
        throw toolFailure("The component folder " + componentFolder + " holds no " + kNotesComponentName);
    std::vector<std::string> registered{notes.string()};
    if (const fs::path excel = fs::path(componentFolder) / kExcelComponentName; fs::is_regular_file(excel))
        registered.push_back(excel.string());
    updateHive(
        options.hive,
        [&](platform::RegistryHive& hive) {
            writeInstallationKey(hive, options, componentFolder, dataFolder);
            for (const std::string& component : registered)
                platform::ComponentRuntime::registerServerInto(component, hive);
        },
        waiting);
    return registered;
}

}  // namespace velloran::tools
