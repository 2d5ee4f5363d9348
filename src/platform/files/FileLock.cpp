#include "files/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velloran::platform {

namespace {

// A record lock anywhere in the file, whoever holds it. Open-file-description
// locks see the record locks of other processes and of this one alike, and
// asking only queries: nothing is locked or released here.
bool hasRecordLock(int fd) {
    struct flock query {};
    query.l_type = F_WRLCK;
    query.l_whence = SEEK_SET;
    query.l_start = 0;
    query.l_len = 0;
    query.l_pid = 0;
    if (::fcntl(fd, F_OFD_GETLK, &query) != 0) return false;
    return query.l_type != F_UNLCK;
}

bool hasWholeFileLock(int fd) {
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) return true;
    ::flock(fd, LOCK_UN);
    return false;
}

}  // namespace

bool isFileLocked(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return true;
    const bool locked = hasRecordLock(fd) || hasWholeFileLock(fd);
    ::close(fd);
    return locked;
}

}  // namespace velloran::platform
