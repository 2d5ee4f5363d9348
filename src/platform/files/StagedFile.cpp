#include "files/StagedFile.h"

#include "files/TemporaryFiles.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace velloran::platform {

namespace {

// The target's folder as written in `target`, with its final slash.
std::string folderPrefix(const std::string& target) {
    std::size_t slash = target.find_last_of('/');
    return slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
}

}  // namespace

StagedFile::StagedFile(std::string target, std::optional<mode_t> exactMode)
    : calls_(fileCalls()), target_(std::move(target)) {
    // Created with the mode asked for, the kernel applies the umask itself.
    create(exactMode ? 0600 : 0666);
    if (exactMode && calls_.fchmod(fd_, *exactMode & 07777) != 0) fail("create", errno);
}

StagedFile::~StagedFile() {
    if (!holdsTemporary_) return;
    // Nothing to report from here: an error is already on its way.
    if (fd_ >= 0) calls_.close(fd_);
    calls_.unlink(temporary_.c_str());
    releaseLock();
}

void StagedFile::create(mode_t mode) {
    TemporaryFile created = createTemporaryFile(calls_, folderPrefix(target_), mode);
    if (created.fd < 0) fail("create", errno);
    fd_ = created.fd;
    lock_ = created.lock;
    temporary_ = std::move(created.path);
    holdsTemporary_ = true;
}

void StagedFile::releaseLock() {
    if (lock_ >= 0) ::close(lock_);
    lock_ = -1;
}

void StagedFile::write(const void* data, std::size_t size) {
    if (const int error = writeAll(calls_, fd_, data, size)) fail("write", error);
}

void StagedFile::commit(SyncToDisk sync) {
    if (sync == SyncToDisk::Yes && calls_.fsync(fd_) != 0) fail("write", errno);
    closeFile();
    if (calls_.rename(temporary_.c_str(), target_.c_str()) != 0) fail("save", errno);
    holdsTemporary_ = false;
    releaseLock();
}

void StagedFile::closeFile() {
    int result = calls_.close(fd_);
    // The descriptor is gone whether or not close succeeded.
    fd_ = -1;
    if (result != 0) fail("write", errno);
}

void StagedFile::fail(const char* action, int error) {
    std::string message = std::string("Cannot ") + action + " the file " + target_ + ": " + std::strerror(error);
    if (holdsTemporary_) {
        if (fd_ >= 0) calls_.close(fd_);
        fd_ = -1;
        if (calls_.unlink(temporary_.c_str()) != 0) {
            const char* reason = std::strerror(errno);
            message += " (its temporary file " + temporary_ + " could not be removed: " + reason + ")";
        }
        holdsTemporary_ = false;
    }
    releaseLock();
    throw FileWriteError(message);
}

}  // namespace velloran::platform
