#include "AtomicFile.h"

#include "WorkbookError.h"
#include "files/AtomicFile.h"
#include "files/TemporaryFiles.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace velloran::workbook {

namespace {

// Numbered names tried beside a taken one before giving up.
constexpr int kMaxNumber = 999;

std::string describe(int error, const std::string& folder) {
    if (error == ENOENT || error == ENOTDIR) return "the folder " + folder + " does not exist";
    if (error == EACCES || error == EPERM || error == EROFS) return "the folder " + folder + " cannot be written to";
    return std::strerror(error);
}

std::string folderOf(const std::string& path) {
    std::string folder = std::filesystem::path(path).parent_path().string();
    return folder.empty() ? "." : folder;
}

// The target's folder as written in it, with its final slash.
std::string folderPrefix(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// "folder/name (2).xls" for "folder/name.xls" and 2.
std::string numbered(const std::string& target, int number) {
    const std::filesystem::path path(target);
    const std::string leaf = path.stem().string() + " (" + std::to_string(number) + ")" + path.extension().string();
    return folderPrefix(target) + leaf;
}

}  // namespace

AtomicFile::AtomicFile(std::string target, Existing existing) : target_(std::move(target)), existing_(existing) {
    if (target_.empty()) throw WorkbookError("Cannot save a workbook without a file name");
    platform::TemporaryFile created =
        platform::createTemporaryFile(platform::systemFileCalls(), folderPrefix(target_), 0666);
    if (created.fd < 0) fail(describe(errno, folderOf(target_)));
    temporary_ = std::move(created.path);
    lock_ = created.lock;
    struct stat found {};
    if (existing_ == Existing::Replace && ::stat(target_.c_str(), &found) == 0 && S_ISREG(found.st_mode))
        ::fchmod(created.fd, found.st_mode & 07777);  // replacing a file keeps its permissions
    stream_ = ::fdopen(created.fd, "wb");
    if (!stream_) {
        int error = errno;
        ::close(created.fd);
        discardTemporary();
        fail(std::strerror(error));
    }
}

AtomicFile::~AtomicFile() {
    if (!stream_) return;
    std::fclose(stream_);
    discardTemporary();
}

void AtomicFile::discardTemporary() {
    ::unlink(temporary_.c_str());
    if (lock_ >= 0) ::close(lock_);
    lock_ = -1;
}

void AtomicFile::fail(const std::string& why) const {
    throw WorkbookError("Cannot save the workbook as " + target_ + ": " + why);
}

void AtomicFile::closeStream() {
    FILE* stream = stream_;
    stream_ = nullptr;
    int error = 0;
    bool written = std::fflush(stream) == 0 && !std::ferror(stream);
    if (!written) error = errno;
    if (written && ::fsync(::fileno(stream)) != 0) error = errno, written = false;
    if (std::fclose(stream) != 0 && written) error = errno, written = false;
    if (!written) {
        discardTemporary();
        fail(error != 0 ? std::strerror(error) : "the data could not be written");
    }
}

void AtomicFile::startWriteback() {
    // Only a hint: a file system that cannot start early leaves it all to
    // the sync in commit(), which reports any failure.
    if (std::fflush(stream_) != 0) return;
    off_t end = ::lseek(::fileno(stream_), 0, SEEK_CUR);
    if (end <= writtenBack_) return;
    ::sync_file_range(::fileno(stream_), writtenBack_, end - writtenBack_, SYNC_FILE_RANGE_WRITE);
    writtenBack_ = end;
}

std::string AtomicFile::commit() {
    closeStream();
    std::string written = existing_ == Existing::Replace ? publish() : publishBeside();
    ::close(lock_);
    lock_ = -1;
    return written;
}

std::string AtomicFile::publish() {
    if (::rename(temporary_.c_str(), target_.c_str()) == 0) return target_;
    const int error = errno;
    discardTemporary();
    fail(error == EISDIR ? "a folder of that name is in the way" : std::strerror(error));
}

// Never over an existing file: one that appeared since the caller checked
// the name is kept, and the workbook goes beside it.
std::string AtomicFile::publishBeside() {
    for (int number = 1; number <= kMaxNumber; ++number) {
        const std::string name = number == 1 ? target_ : numbered(target_, number);
        const int error = platform::renameWithoutReplacing(temporary_, name);
        if (error == 0) return name;
        if (error == EEXIST) continue;
        discardTemporary();
        fail(std::strerror(error));
    }
    discardTemporary();
    fail("that name and the numbered names beside it up to (" + std::to_string(kMaxNumber) + ") are all taken");
}

}  // namespace velloran::workbook
