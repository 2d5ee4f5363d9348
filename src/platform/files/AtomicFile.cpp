#include "files/AtomicFile.h"

#include "files/StagedFile.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace velloran::platform {

namespace {

std::string folderOf(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
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
    StagedFile file(path, newFileMode);
    file.write(contents.data(), contents.size());
    file.commit(SyncToDisk::Yes);
}

}  // namespace velloran::platform
