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
        throw toolFailure(std::string(what) + " " + folder + " 不是已有的目录");
    return fs::canonical(folder).string();
}

void createFolderOf(const std::string& hivePath) {
    const fs::path hiveFile(hivePath);
    std::error_code error;
    if (hiveFile.has_parent_path()) fs::create_directories(hiveFile.parent_path(), error);
    if (error)
        throw toolFailure("无法创建目录 " + hiveFile.parent_path().string() + ": " + error.message());
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

void writeInstallationKey(platform::RegistryHive& hive, const std::string& componentFolder,
                          const std::string& dataFolder, const std::string& serverName) {
    hive.setString(kDominoKey, "Path", componentFolder);
    hive.setString(kDominoKey, "DataPath", dataFolder);
    hive.setString(kDominoKey, "ServerName", serverName);
}

// The folder given, or the installed one, which a program run from the
// build tree lacks: the user is told to install or to name the folder.
std::string componentFolderOf(const SetupOptions& options) {
    if (!options.componentFolder.empty()) return existingFolder(options.componentFolder, "组件目录");
    const std::string installed = installedComponentFolder();
    std::error_code error;
    if (!fs::is_regular_file(fs::path(installed) / kNotesComponentName, error))
        throw toolFailure("在 " + installed + " 中没有找到安装的组件 " + kNotesComponentName +
                          "（velloran-setup 从构建目录运行时就是这样）：请先安装（cmake --install build --prefix ~/.local），"
                          "再运行安装后的 velloran-setup；或用 --components 指定 " + kNotesComponentName + " 所在的目录");
    return fs::canonical(installed).string();
}

}  // namespace

SetupHive setupHive(bool forUser) {
    const char* chosen = std::getenv(platform::kHivePathVariable);
    if (chosen && *chosen) return {chosen, false};
    if (::geteuid() == 0 && !forUser) return {platform::kMachineHivePath, false};
    std::string user = platform::userHivePath();
    if (user.empty()) throw toolFailure("没有设置 HOME，无法写入用户的注册表文件；请以 root 运行或设置 HOME");
    return {user, true};
}

std::string installedComponentFolder() {
    std::error_code error;
    fs::path executable = fs::read_symlink("/proc/self/exe", error);
    if (error) throw toolFailure("找不到程序自身的文件: " + error.message());
    return (executable.parent_path().parent_path() / "lib" / "velloran").string();
}

SetupResult writeSetup(const SetupOptions& options, const std::function<void()>& waiting) {
    const std::string dataFolder = existingFolder(options.dataFolder, "数据目录");
    const std::string componentFolder = componentFolderOf(options);
    const fs::path notes = fs::path(componentFolder) / kNotesComponentName;
    if (!fs::is_regular_file(notes))
        throw toolFailure("组件目录 " + componentFolder + " 中没有 " + kNotesComponentName);
    SetupResult result{{notes.string()}, options.serverName.empty() ? platform::localHostName() : options.serverName};
    if (const fs::path excel = fs::path(componentFolder) / kExcelComponentName; fs::is_regular_file(excel))
        result.registered.push_back(excel.string());
    updateHive(
        options.hive,
        [&](platform::RegistryHive& hive) {
            writeInstallationKey(hive, componentFolder, dataFolder, result.serverName);
            for (const std::string& component : result.registered)
                platform::ComponentRuntime::registerServerInto(component, hive);
        },
        waiting);
    return result;
}

}  // namespace velloran::tools
