#include "AtomicFile.h"

#include "WorkbookError.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace velloran::workbook {

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

platform::AtTarget atTarget(Existing existing) {
    return existing == Existing::Replace ? platform::AtTarget::Replace : platform::AtTarget::Keep;
}

}  // namespace

AtomicFile::AtomicFile(std::string target, Existing existing) : target_(std::move(target)), existing_(existing) {
    if (target_.empty()) throw workbookFailure("工作簿没有文件名，无法保存");
    try {
        file_.emplace(target_, std::nullopt, atTarget(existing_));
    } catch (const platform::Failure& e) {
        if (!e.is(platform::Failure::Kind::File)) throw;
        fail(describe(e.error(), folderOf(target_)), e.error());
    }
    // The stream has a descriptor of its own: the staged file keeps its own
    // to sync and close, and its lock, until it is in place.
    const int fd = ::fcntl(file_->descriptor(), F_DUPFD_CLOEXEC, 0);
    stream_ = fd < 0 ? nullptr : ::fdopen(fd, "wb");
    if (!stream_) {
        const int error = errno;
        if (fd >= 0) ::close(fd);
        file_.reset();
        fail(std::strerror(error), error);
    }
}

AtomicFile::~AtomicFile() {
    if (stream_) std::fclose(stream_);
}

void AtomicFile::fail(const std::string& why, int error) const { throw cannotSaveWorkbook(target_, why, error); }

void AtomicFile::closeStream() {
    FILE* stream = stream_;
    stream_ = nullptr;
    int error = 0;
    bool written = std::fflush(stream) == 0 && !std::ferror(stream);
    if (!written) error = errno;
    if (std::fclose(stream) != 0 && written) error = errno, written = false;
    if (!written) {
        file_.reset();
        fail(error != 0 ? std::strerror(error) : "the data could not be written", error);
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
    try {
        file_->commit(platform::SyncToDisk::Yes);
    } catch (const platform::Failure& e) {
        if (!e.is(platform::Failure::Kind::File)) throw;
        fail(e.original(), e.error());
    }
    return target_;
}

}  // namespace velloran::workbook
