#include "AtomicFile.h"

#include "WorkbookError.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace velloran::biff {

namespace {

std::string describe(int error, const std::string& folder) {
    if (error == ENOENT || error == ENOTDIR) return "the folder " + folder + " does not exist";
    if (error == EACCES || error == EPERM || error == EROFS) return "the folder " + folder + " cannot be written to";
    return std::strerror(error);
}

std::string folderOf(const std::string& path) {
    std::string folder = std::filesystem::path(path).parent_path().string();
    return folder.empty() ? "." : folder;
}

// Creates a new file with a name no other file has, readable and writable
// as the process's file-creation mask allows. Returns its descriptor and
// sets `name`, or returns -1 with errno set.
int createUnique(const std::string& target, std::string& name) {
    std::filesystem::path path(target);
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string leaf = ".";
        leaf.append(path.filename().string()).append(".").append(std::to_string(random())).append(".tmp");
        name = (path.parent_path() / leaf).string();
        int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

}  // namespace

AtomicFile::AtomicFile(std::string target) : target_(std::move(target)) {
    if (target_.empty()) throw WorkbookError("Cannot save a workbook without a file name");
    int fd = createUnique(target_, temporary_);
    if (fd < 0) fail(describe(errno, folderOf(target_)));
    struct stat existing {};
    if (::stat(target_.c_str(), &existing) == 0 && S_ISREG(existing.st_mode))
        ::fchmod(fd, existing.st_mode & 07777);  // replacing a file keeps its permissions
    stream_ = ::fdopen(fd, "wb");
    if (!stream_) {
        int error = errno;
        ::close(fd);
        ::unlink(temporary_.c_str());
        fail(std::strerror(error));
    }
}

AtomicFile::~AtomicFile() {
    if (!stream_) return;
    std::fclose(stream_);
    ::unlink(temporary_.c_str());
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
        ::unlink(temporary_.c_str());
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

void AtomicFile::commit() {
    closeStream();
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
        int error = errno;
        ::unlink(temporary_.c_str());
        fail(error == EISDIR ? "a folder of that name is in the way" : std::strerror(error));
    }
}

}  // namespace velloran::biff
