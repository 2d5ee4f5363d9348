#include "files/AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace velloran::platform {

namespace {

std::string folderOf(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

[[noreturn]] void fail(const std::string& what, const std::string& path, int error) {
    throw std::runtime_error("Cannot " + what + " " + path + ": " + std::strerror(error));
}

// The permissions of the file being replaced; for a new file the ones asked
// for, else the usual ones for its user.
mode_t permissionsFor(const std::string& path, std::optional<mode_t> newFileMode) {
    struct stat existing {};
    if (::stat(path.c_str(), &existing) == 0) return existing.st_mode & 07777;
    if (newFileMode) return *newFileMode & 07777;
    mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

void writeFileAtomically(const std::string& path, std::string_view contents, std::optional<mode_t> newFileMode) {
    std::string temporary = path + ".tmp-XXXXXX";
    int fd = ::mkstemp(temporary.data());
    if (fd < 0) fail("create a temporary file beside", path, errno);
    // The temporary file starts out readable by its owner only, so contents
    // never show with looser permissions than the final file has.
    ::fchmod(fd, permissionsFor(path, newFileMode));
    const char* data = contents.data();
    std::size_t left = contents.size();
    while (left > 0) {
        ssize_t written = ::write(fd, data, left);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            int error = errno;
            ::close(fd);
            ::unlink(temporary.c_str());
            fail("write", path, error);
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        int error = errno;
        ::unlink(temporary.c_str());
        fail("write", path, error);
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        int error = errno;
        ::unlink(temporary.c_str());
        fail("replace", path, error);
    }
}

bool canReplaceFile(const std::string& path) {
    if (path.empty()) return false;
    if (::access(folderOf(path).c_str(), W_OK | X_OK) != 0) return false;
    return ::access(path.c_str(), F_OK) != 0 || ::access(path.c_str(), W_OK) == 0;
}

}  // namespace velloran::platform
