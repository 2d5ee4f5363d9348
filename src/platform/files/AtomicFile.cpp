#include "files/AtomicFile.h"

#include "files/StagedFile.h"

#include <sys/stat.h>
#include <unistd.h>

namespace velloran::platform {

namespace {

std::string folderOf(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The permissions of the file being replaced; for a new file the ones asked
// for, else none, so it gets the usual ones for its user.
std::optional<mode_t> permissionsFor(const std::string& path, std::optional<mode_t> newFileMode) {
    struct stat existing {};
    if (::stat(path.c_str(), &existing) == 0) return existing.st_mode & 07777;
    return newFileMode;
}

}  // namespace

void writeFileAtomically(const std::string& path, std::string_view contents, std::optional<mode_t> newFileMode) {
    StagedFile file(path, permissionsFor(path, newFileMode));
    file.write(contents.data(), contents.size());
    file.commit(SyncToDisk::Yes);
}

bool canReplaceFile(const std::string& path) {
    if (path.empty()) return false;
    if (::access(folderOf(path).c_str(), W_OK | X_OK) != 0) return false;
    return ::access(path.c_str(), F_OK) != 0 || ::access(path.c_str(), W_OK) == 0;
}

}  // namespace velloran::platform
