#include "SpillFile.h"

#include "WorkbookError.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <unistd.h>
#include <utility>

namespace velloran::workbook {

namespace {

// Bytes read at a time when the whole file is passed on.
constexpr std::size_t kPieceBytes = 1024 * 1024;

// A file with no name in `folder`: O_TMPFILE where the file system has it,
// otherwise a named file removed at once.
int createUnlinked(const std::string& folder) {
    int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)) return fd;
    std::string pattern = folder + "/.velloran-spill-XXXXXX";
    fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd >= 0) ::unlink(pattern.c_str());
    return fd;
}

}  // namespace

SpillFile::~SpillFile() {
    if (fd_ >= 0) ::close(fd_);
}

SpillFile::SpillFile(SpillFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), size_(std::exchange(other.size_, 0)) {}

SpillFile& SpillFile::operator=(SpillFile&& other) noexcept {
    std::swap(fd_, other.fd_);
    std::swap(size_, other.size_);
    return *this;
}

std::string SpillFile::folder() {
    const char* configured = std::getenv("TMPDIR");
    return configured && *configured ? configured : "/tmp";
}

void SpillFile::fail(const std::string& what, int error) const {
    throw platform::Failure(platform::Failure::Kind::Workbook,
                            "无法在临时文件夹 " + folder() + " 中存放工作簿的数据（可用 TMPDIR 另选文件夹）",
                            {folder(), "Cannot " + what + " the workbook's data in the temporary folder " + folder() +
                                           ": " + std::strerror(error) + " (TMPDIR chooses another folder)",
                             error});
}

void SpillFile::open() {
    fd_ = createUnlinked(folder());
    if (fd_ < 0) fail("keep", errno);
}

void SpillFile::write(const char* data, std::size_t size) {
    if (fd_ < 0) open();
    while (size > 0) {
        ssize_t written = ::pwrite(fd_, data, size, static_cast<off_t>(size_));
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) fail("keep", written < 0 ? errno : ENOSPC);
        data += written;
        size -= static_cast<std::size_t>(written);
        size_ += static_cast<std::uint64_t>(written);
    }
}

void SpillFile::read(std::uint64_t offset, char* into, std::size_t size) const {
    while (size > 0) {
        ssize_t got = ::pread(fd_, into, size, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) fail("read back", got < 0 ? errno : EIO);
        into += got;
        size -= static_cast<std::size_t>(got);
        offset += static_cast<std::uint64_t>(got);
    }
}

void SpillFile::forEachPiece(const std::function<void(std::string_view, std::uint64_t)>& visit) const {
    if (size_ == 0) return;
    auto piece = std::make_unique<char[]>(kPieceBytes);
    for (std::uint64_t offset = 0; offset < size_;) {
        auto size = static_cast<std::size_t>(std::min<std::uint64_t>(kPieceBytes, size_ - offset));
        read(offset, piece.get(), size);
        visit({piece.get(), size}, offset);
        offset += size;
    }
}

}  // namespace velloran::workbook
