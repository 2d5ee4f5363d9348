#include "registry/HiveSearch.h"

#include <algorithm>
#include <cstdlib>
#include <unistd.h>

namespace velloran::platform {

namespace {

bool exists(const std::string& path) { return ::access(path.c_str(), F_OK) == 0; }

std::string joined(const std::vector<std::string>& paths) {
    std::string out;
    for (const std::string& path : paths) out += (out.empty() ? "" : ", ") + path;
    return out;
}

}  // namespace

std::string userHivePath() {
    const char* home = std::getenv("HOME");
    if (!home || !*home) return {};
    return std::string(home) + "/.config/velloran/registry.reg";
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
