#include "files/AtomicFile.h"

#include "files/StagedFile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
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

std::string linkTarget(const std::string& path) {
    // Enough for any sound chain; a loop stops here and the write then fails on it.
    constexpr int kMostLinks = 40;
    std::string current = path;
    for (int hop = 0; hop < kMostLinks; ++hop) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return current;
        std::string target(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 4096) + 1, '\0');
        const ssize_t size = ::readlink(current.c_str(), target.data(), target.size());
        if (size < 0) return current;
        target.resize(static_cast<std::size_t>(size));
        current = target.front() == '/' || current.find('/') == std::string::npos
                      ? target
                      : folderOf(current) + "/" + target;
    }
    return current;
}

void writeFileAtomically(const std::string& path, std::string_view contents, std::optional<mode_t> newFileMode) {
    StagedFile file(path, permissionsFor(path, newFileMode));
    file.write(contents.data(), contents.size());
    file.commit(SyncToDisk::Yes);
}

int renameWithoutReplacing(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
    // A file system without the no-replace rename: a hard link is never
    // made over an existing name either. Should the old name stay, it is
    // an unlocked temporary file that the next sweep removes.
    if (::link(from.c_str(), to.c_str()) != 0) return errno;
    ::unlink(from.c_str());
    return 0;
}

}  // namespace velloran::platform
