#include "setup/Setup.h"

#include "common/ToolError.h"
#include "component/ComponentRuntime.h"
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
        throw ToolError("The " + std::string(what) + " " + folder + " is not an existing folder");
    return fs::canonical(folder).string();
}

void writeInstallationKey(const SetupOptions& options, const std::string& componentFolder,
                          const std::string& dataFolder) {
    fs::path hiveFile(options.hivePath);
    std::error_code error;
    if (hiveFile.has_parent_path()) fs::create_directories(hiveFile.parent_path(), error);
    if (error)
        throw ToolError("Cannot create the folder " + hiveFile.parent_path().string() + ": " + error.message());
    try {
        platform::RegistryHive hive = platform::RegistryHive::load(options.hivePath);
        hive.setString(kDominoKey, "Path", componentFolder);
        hive.setString(kDominoKey, "DataPath", dataFolder);
        hive.setString(kDominoKey, "ServerName",
                       options.serverName.empty() ? platform::localHostName() : options.serverName);
        hive.saveAs(options.hivePath);
    } catch (const platform::HiveError& e) {
        throw ToolError(e.what());
    }
}

}  // namespace

std::string setupHivePath(bool forUser) {
    const char* chosen = std::getenv(platform::kHivePathVariable);
    if (chosen && *chosen) return chosen;
    if (::geteuid() == 0 && !forUser) return platform::kMachineHivePath;
    std::string user = platform::userHivePath();
    if (user.empty()) throw ToolError("HOME is not set, so there is no user hive to write; run as root or set HOME");
    return user;
}

std::string installedComponentFolder() {
    std::error_code error;
    fs::path executable = fs::read_symlink("/proc/self/exe", error);
    if (error) throw ToolError("Cannot find the program's own file: " + error.message());
    return (executable.parent_path().parent_path() / "lib" / "velloran").string();
}

std::vector<std::string> writeSetup(const SetupOptions& options) {
    const std::string dataFolder = existingFolder(options.dataFolder, "data folder");
    const std::string componentFolder = existingFolder(options.componentFolder, "component folder");
    const fs::path notes = fs::path(componentFolder) / kNotesComponentName;
    if (!fs::is_regular_file(notes))
        throw ToolError("The component folder " + componentFolder + " holds no " + kNotesComponentName);
    writeInstallationKey(options, componentFolder, dataFolder);

    std::vector<std::string> registered{notes.string()};
    if (const fs::path excel = fs::path(componentFolder) / kExcelComponentName; fs::is_regular_file(excel))
        registered.push_back(excel.string());
    platform::ComponentRuntime runtime(options.hivePath);
    for (const std::string& component : registered) {
        try {
            runtime.registerServer(component);
        } catch (const platform::ComponentError& e) {
            throw ToolError(e.what());
        }
    }
    return registered;
}

}  // namespace velloran::tools
