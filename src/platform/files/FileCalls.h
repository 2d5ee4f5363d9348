#pragma once
// The system calls that file writing goes through. The real ones are used
// unless a test puts its own in place, to make a call fail on purpose.
#include <cstddef>
#include <sys/types.h>

namespace velloran::platform {

struct FileCalls {
    int (*open)(const char* path, int flags, mode_t mode);
    ssize_t (*write)(int fd, const void* data, std::size_t size);
    int (*fchmod)(int fd, mode_t mode);
    int (*fchown)(int fd, uid_t owner, gid_t group);
    int (*fsync)(int fd);
    int (*close)(int fd);
    int (*rename)(const char* from, const char* to);
    // Renames only when no file of the name `to` exists, failing with EEXIST
    // when one does.
    int (*renameNoReplace)(const char* from, const char* to);
    int (*unlink)(const char* path);
    uid_t (*geteuid)();
};

// Writes all `size` bytes through `calls`, going on after short and
// interrupted writes. Returns 0, or the reason they could not all be
// written (EIO for a write that makes no progress, so it never spins).
int writeAll(const FileCalls& calls, int fd, const void* data, std::size_t size);

// The operating system's own calls.
const FileCalls& systemFileCalls();

// The calls in use now.
const FileCalls& fileCalls();

// For tests: puts `calls` in place of the calls in use while it lives. Files
// already being written keep the calls they started with.
class ScopedFileCalls {
public:
    explicit ScopedFileCalls(const FileCalls& calls);
    ~ScopedFileCalls();
    ScopedFileCalls(const ScopedFileCalls&) = delete;
    ScopedFileCalls& operator=(const ScopedFileCalls&) = delete;

private:
    FileCalls calls_;
    const FileCalls* previous_;
};

}  // namespace velloran::platform
