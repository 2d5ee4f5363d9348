#include "access/Installation.h"

#include "access/Directory.h"
#include "access/UserNames.h"
#include "registry/RegistryHive.h"
#include "store/EngineError.h"
#include "text/Utf8.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <filesystem>
#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace velloran::notes::access {

namespace {

namespace fs = std::filesystem;

constexpr const char* kDominoKey = "HKEY_LOCAL_MACHINE\\Software\\Lotus\\Domino";

// This machine's host name and, when the resolver knows it, its canonical name.
std::vector<std::string> hostNames() {
    char name[HOST_NAME_MAX + 1] = {};
    if (::gethostname(name, sizeof name - 1) != 0 || !*name) return {};
    std::vector<std::string> names{name};
    addrinfo hints{};
    hints.ai_flags = AI_CANONNAME;
    hints.ai_family = AF_UNSPEC;
    addrinfo* found = nullptr;
    if (::getaddrinfo(name, nullptr, &hints, &found) == 0) {
        if (found && found->ai_canonname) names.emplace_back(found->ai_canonname);
        ::freeaddrinfo(found);
    }
    return names;
}

std::vector<std::string> pathParts(const std::string& databasePath) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : databasePath + "\\") {
        if (c != '\\' && c != '/') {
            part += c;
            continue;
        }
        if (part.empty() || part == "." || part == "..")
            throw engineFailure(msg::kPathNotValid, {databasePath});
        parts.push_back(part);
        part.clear();
    }
    return parts;
}

bool isInside(const fs::path& file, const fs::path& folder) {
    auto [end, _] = std::mismatch(folder.begin(), folder.end(), file.begin(), file.end());
    return end == folder.end();
}

}  // namespace

Installation readInstallation(const std::string& hivePath) {
    platform::RegistryHive hive;
    try {
        hive = platform::RegistryHive::loadReadable(hivePath);
    } catch (const std::exception& e) {
        throw engineFailure(msg::kRegistryUnreadable, {hivePath, e.what()});
    }
    if (!hive.hasKey(kDominoKey)) throw engineFailure(msg::kNoServerInstalled, {hivePath});
    Installation installation{hive.readString(kDominoKey, "DataPath"), hive.readString(kDominoKey, "ServerName")};
    if (installation.dataPath.empty())
        throw engineFailure(msg::kNoDataPath, {hivePath});
    return installation;
}

bool isThisServer(const std::string& requested, const Installation& installation) {
    std::string wanted(text::trimmed(requested));
    const std::string& full = installation.serverName;
    if (!full.empty() && (sameName(wanted, full) || text::equalsIgnoringCase(wanted, commonName(full)))) return true;
    for (const std::string& host : hostNames())
        if (text::equalsIgnoringCase(wanted, host)) return true;
    return false;
}

std::string serverDatabaseFile(const Installation& installation, const std::string& databasePath) {
    if (databasePath.size() > 1 && databasePath[1] == ':')
        throw engineFailure(msg::kPathNotRelative, {databasePath});
    fs::path file = installation.dataPath;
    for (const std::string& part : pathParts(databasePath)) file /= part;
    std::error_code error;
    fs::path folder = fs::weakly_canonical(installation.dataPath, error);
    fs::path resolved = fs::weakly_canonical(file, error);
    if (error || !isInside(resolved, folder))
        throw engineFailure(msg::kPathOutside, {databasePath, installation.dataPath});
    return file.string();
}

bool isDirectoryFile(const Installation& installation, const std::string& file) {
    std::error_code error;
    return fs::equivalent(fs::path(installation.dataPath) / kDirectoryFile, file, error);
}

}  // namespace velloran::notes::access
