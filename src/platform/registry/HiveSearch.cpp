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

std::string joined(const std::vector<std::string>& paths) {
    std::string out;
    for (const std::string& path : paths) out += (out.empty() ? "" : ", ") + path;
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
    if (path.empty()) throw HiveError("HOME is not set, so there is no user hive to write");
    try {
        // HOME itself is the user's choice and may be a link; nothing below it.
        const OpenFolder homeFolder = OpenFolder::open(path);
        struct stat owner {};
        if (::fstat(homeFolder.descriptor(), &owner) != 0 || !mayWriteUserHive(::geteuid(), owner.st_uid))
            throw HiveError("HOME (" + path + ") belongs to another user, and root writes a user's registry " +
                            "file only into a HOME of its own: run the command as that user");
        return homeFolder.descend(kUserHiveFolders);
    } catch (const FolderError& e) {
        throw HiveError(e.what());
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

}  // namespace velloran::platform
