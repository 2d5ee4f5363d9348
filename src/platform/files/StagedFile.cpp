#include "files/StagedFile.h"

#include "files/LiveTemporaries.h"
#include "files/TemporaryFiles.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velloran::platform {

namespace {

// "create", "write" or "save", as the user reads it before the file's name.
std::string shownAction(const char* action) {
    const std::string what = action;
    if (what == "create") return "无法创建文件 ";
    if (what == "write") return "无法写入文件 ";
    return "无法保存文件 ";
}

// The target's folder as written in `target`, with its final slash.
std::string folderPrefix(const std::string& target) {
    std::size_t slash = target.find_last_of('/');
    return slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
}

std::string folderOf(const std::string& target) {
    const std::string prefix = folderPrefix(target);
    return prefix.empty() ? "." : prefix;
}

}  // namespace

StagedFile::StagedFile(std::string target, std::optional<mode_t> newFileMode, AtTarget atTarget)
    : calls_(fileCalls()), target_(std::move(target)), atTarget_(atTarget) {
    // Created with the mode asked for, the kernel applies the umask itself.
    create(newFileMode ? 0600 : 0666);
    takeOverExisting(newFileMode);
}

StagedFile::~StagedFile() {
    if (!holdsTemporary_) return;
    // Nothing to report from here: an error is already on its way.
    if (fd_ >= 0) calls_.close(fd_);
    calls_.unlink(temporary_.c_str());
    forgetTemporary(listed_);
    releaseLock();
}

void StagedFile::create(mode_t mode) {
    TemporaryFile created = createTemporaryFile(calls_, folderPrefix(target_), mode);
    if (created.fd < 0) fail("create", errno);
    fd_ = created.fd;
    lock_ = created.lock;
    temporary_ = std::move(created.path);
    holdsTemporary_ = true;
    listed_ = rememberTemporary(temporary_);
}

void StagedFile::takeOverExisting(std::optional<mode_t> newFileMode) {
    struct stat existing {};
    const bool replacing = atTarget_ == AtTarget::Replace && ::stat(target_.c_str(), &existing) == 0 &&
                           S_ISREG(existing.st_mode);
    // The owner first: changing it clears the set-user-id and set-group-id bits.
    if (replacing && calls_.geteuid() == 0 && calls_.fchown(fd_, existing.st_uid, existing.st_gid) != 0)
        fail("create", errno);
    const std::optional<mode_t> mode = replacing ? std::optional<mode_t>(existing.st_mode) : newFileMode;
    if (mode && calls_.fchmod(fd_, *mode & 07777) != 0) fail("create", errno);
}

void StagedFile::holdsDatabase() { listTemporaryDatabase(listed_); }

void StagedFile::releaseLock() {
    if (lock_ >= 0) ::close(lock_);
    lock_ = -1;
}

void StagedFile::write(const void* data, std::size_t size) {
    if (const int error = writeAll(calls_, fd_, data, size)) fail("write", error);
}

void StagedFile::finish(SyncToDisk sync) {
    if (fd_ < 0) return;
    if (sync == SyncToDisk::Yes && calls_.fsync(fd_) != 0) fail("write", errno);
    const int result = calls_.close(fd_);
    // The descriptor is gone whether or not close succeeded.
    fd_ = -1;
    if (result != 0) fail("write", errno);
}

void StagedFile::commit(SyncToDisk sync) {
    finish(sync);
    if (const int error = renameTo(target_, atTarget_)) {
        if (error == EEXIST) fail("save", error, "a file of that name was made meanwhile, and is kept");
        fail("save", error, error == EISDIR ? "a folder of that name is in the way" : std::string());
    }
    if (sync == SyncToDisk::Yes) syncFolder();
}

int StagedFile::renameTo(const std::string& name, AtTarget atTarget) {
    const int result = atTarget == AtTarget::Replace ? calls_.rename(temporary_.c_str(), name.c_str())
                                                      : calls_.renameNoReplace(temporary_.c_str(), name.c_str());
    if (result != 0) return errno;
    holdsTemporary_ = false;
    forgetTemporary(listed_);
    listed_ = -1;
    releaseLock();
    return 0;
}

// Makes the new name last: without it, a power failure can leave the folder
// as it was before the rename.
void StagedFile::syncFolder() {
    const int folder = calls_.open(folderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    const bool synced = folder >= 0 && calls_.fsync(folder) == 0;
    const int error = errno;
    if (folder >= 0) calls_.close(folder);
    if (!synced) fail("save", error, std::string(std::strerror(error)) + " (while flushing its folder to disk)");
}

void StagedFile::fail(const char* action, int error, std::string reason) {
    if (reason.empty()) reason = std::strerror(error);
    if (holdsTemporary_) {
        if (fd_ >= 0) calls_.close(fd_);
        fd_ = -1;
        if (calls_.unlink(temporary_.c_str()) != 0) {
            const char* why = std::strerror(errno);
            reason += " (its temporary file " + temporary_ + " could not be removed: " + why + ")";
        }
        holdsTemporary_ = false;
        forgetTemporary(listed_);
        listed_ = -1;
    }
    releaseLock();
    throw Failure(Failure::Kind::File, shownAction(action) + target_,
                  {target_, std::string("Cannot ") + action + " the file " + target_ + ": " + reason, error});
}

}  // namespace velloran::platform
