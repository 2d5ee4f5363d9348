#include "registry/HiveSearch.h"

#include "files/OpenFolder.h"
#include "registry/RegistryHive.h"

#include <algorithm>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace velloran::platform {

namespace {

// The folders from HOME down to the user's hive.
const std::vector<std::string> kUserHiveFolders{".config", "velloran"};

bool exists(const std::string& path) { return ::access(path.c_str(), F_OK) == 0; }

std::string joined(const std::vector<std::string>& paths, const char* separator = ", ") {
    std::string out;
    for (const std::string& path : paths) out += (out.empty() ? "" : separator) + path;
    return out;
}

std::string home() {
    const char* value = std::getenv("HOME");
    return value ? value : "";
}

}  // namespace

std::string userHivePath() {
    std::string path = home();
    if (path.empty()) return {};
    for (const std::string& folder : kUserHiveFolders) path += "/" + folder;
    return path + "/" + kHiveFileName;
}

bool mayWriteUserHive(uid_t processUser, uid_t homeOwner) { return processUser != 0 || homeOwner == 0; }

OpenFolder openUserHiveFolder() {
    const std::string path = home();
    if (path.empty())
        throw Failure(Failure::Kind::Registry, "没有设置环境变量 HOME，无法写入用户的注册表文件",
                      {"", "HOME is not set, so there is no user hive to write", 0, false});
    try {
        // HOME itself is the user's choice and may be a link; nothing below it.
        const OpenFolder homeFolder = OpenFolder::open(path);
        struct stat owner {};
        if (::fstat(homeFolder.descriptor(), &owner) != 0 || !mayWriteUserHive(::geteuid(), owner.st_uid))
            throw Failure(Failure::Kind::Registry,
                          "HOME（" + path + "）属于另一个用户，root 只在自己的 HOME 中写用户的注册表文件：请以该用户身份运行",
                          {path, "HOME (" + path + ") belongs to another user, and root writes a user's registry " +
                                     "file only into a HOME of its own: run the command as that user",
                                 0, false});
        return homeFolder.descend(kUserHiveFolders);
    } catch (const Failure& e) {
        if (!e.is(Failure::Kind::Folder)) throw;
        throw e.retold(Failure::Kind::Registry, e.what());
    }
}

std::vector<std::string> hiveSearchPaths() {
    const char* chosen = std::getenv(kHivePathVariable);
    if (chosen && *chosen) return {chosen};
    std::vector<std::string> paths;
    if (std::string user = userHivePath(); !user.empty()) paths.push_back(user);
    paths.emplace_back(kMachineHivePath);
    return paths;
}

std::string findHive() {
    const std::vector<std::string> paths = hiveSearchPaths();
    auto found = std::find_if(paths.begin(), paths.end(), exists);
    return found != paths.end() ? *found : paths.back();
}

std::vector<std::string> hiveFilesLookedFor(const std::string& hivePath) {
    std::vector<std::string> lookedFor = hiveSearchPaths();
    if (exists(hivePath) || std::find(lookedFor.begin(), lookedFor.end(), hivePath) == lookedFor.end())
        return {hivePath};
    return lookedFor;
}

std::string hiveAdvice(const std::string& hivePath) {
    if (exists(hivePath))
        return "in the registry file " + hivePath + "; run " + kSetupCommand + " to register the components";
    return "because no registry file exists (looked for " + joined(hiveFilesLookedFor(hivePath)) + "); run " +
           kSetupCommand + " to make one";
}

std::string missingRegistration(const std::string& hivePath) {
    if (exists(hivePath))
        return "注册表文件 " + hivePath + " 中没有注册所需的组件，请运行 " + kSetupCommandShown + " 注册组件";
    return "没有找到注册表文件（找过：" + joined(hiveFilesLookedFor(hivePath), "、") + "），请先运行 " +
           kSetupCommandShown;
}

}  // namespace velloran::platform
