#include "registry/HiveLock.h"

#include "files/OpenFolder.h"
#include "registry/RegistryHive.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velloran::platform {

namespace {

// Only the owner needs the lock file: anyone who could open it could hold
// its lock and so stop every update of the hive.
constexpr mode_t kLockFileMode = 0600;

[[noreturn]] void failOn(const std::string& lockPath, int error) {
    if (error == ELOOP)
        throw hiveFailure("锁文件 " + lockPath + " 是符号链接，不会通过链接写入", lockPath,
                          "The lock file " + lockPath + " is a symbolic link; nothing is written through a link");
    throw hiveFailure("无法使用注册表文件的锁文件 " + lockPath, lockPath,
                      "Cannot use the lock file " + lockPath + " of the registry file: " + std::strerror(error), error);
}

int openLockFile(const OpenFolder& folder, const std::string& name) {
    const std::string lockPath = folder.pathOf(name);
    const int fd = ::openat(folder.descriptor(), name.c_str(),
                            O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, kLockFileMode);
    if (fd < 0) failOn(lockPath, errno);
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        throw hiveFailure("无法使用注册表文件的锁文件 " + lockPath + "：它不是文件", lockPath,
                          "Cannot use the lock file " + lockPath + " of the registry file: it is not a file");
    }
    return fd;
}

void lock(int fd, const std::string& lockPath, const std::function<void()>& waiting) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return;
    if (errno != EWOULDBLOCK) failOn(lockPath, errno);
    if (waiting) waiting();
    int result;
    do result = ::flock(fd, LOCK_EX);
    while (result != 0 && errno == EINTR);
    if (result != 0) failOn(lockPath, errno);
}

}  // namespace

HiveLock::HiveLock(const OpenFolder& folder, const std::string& hiveName, const std::function<void()>& waiting)
    : fd_(openLockFile(folder, hiveName + kHiveLockSuffix)) {
    try {
        lock(fd_, folder.pathOf(hiveName + kHiveLockSuffix), waiting);
    } catch (...) {
        ::close(fd_);
        throw;
    }
}

HiveLock::~HiveLock() { ::close(fd_); }

}  // namespace velloran::platform
