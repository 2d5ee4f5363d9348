#include "files/FileCalls.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velloran::platform {

namespace {

// open takes its mode as a variadic argument; the others are taken as they are.
int openFile(const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); }

int renameNoReplace(const char* from, const char* to) {
    if (::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return -1;
    // A file system without the no-replace rename: a hard link is never
    // made over an existing name either. Should the old name stay, it is
    // an unlocked temporary file that the next sweep removes.
    if (::link(from, to) != 0) return -1;
    ::unlink(from);
    return 0;
}

const FileCalls kSystemCalls{openFile, ::write,          ::fchmod,  ::fchown, ::fsync,
                             ::close,  ::rename, renameNoReplace, ::unlink, ::geteuid};

// Read by any thread that writes a file, so swapped atomically.
std::atomic<const FileCalls*> current{&kSystemCalls};

}  // namespace

int writeAll(const FileCalls& calls, int fd, const void* data, std::size_t size) {
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = calls.write(fd, bytes, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return written < 0 ? errno : EIO;
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return 0;
}

const FileCalls& systemFileCalls() { return kSystemCalls; }

const FileCalls& fileCalls() { return *current.load(); }

ScopedFileCalls::ScopedFileCalls(const FileCalls& calls) : calls_(calls), previous_(current.exchange(&calls_)) {}

ScopedFileCalls::~ScopedFileCalls() { current.store(previous_); }

}  // namespace velloran::platform
