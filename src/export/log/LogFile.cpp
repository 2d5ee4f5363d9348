#include "log/LogFile.h"

#include "files/FileCalls.h"
#include "log/ExportLog.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velloran::exporting {

namespace {

const QByteArray kLineEnd = QByteArrayLiteral("\r\n");

[[noreturn]] void failWriting(const QString& file, int error) {
    const std::string path = file.toStdString();
    throw platform::Failure(platform::Failure::Kind::Log, "无法写入导出日志 " + path,
                            {path, "I/O error writing the export log " + path + ": " + std::strerror(error), error});
}

// Opened for reading too when the end of the file is to be looked at.
int openForAppending(const QString& file, bool readable) {
    const QByteArray name = QFile::encodeName(file);
    return ::open(name.constData(), (readable ? O_RDWR : O_WRONLY) | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
}

// The descriptor, or -1 with the reason in `error`.
int openCreatingFolder(const QString& file, const QString& folder, bool readable, int& error) {
    int fd = openForAppending(file, readable);
    if (fd < 0 && errno == ENOENT && QDir().mkpath(folder)) fd = openForAppending(file, readable);
    error = fd < 0 ? errno : 0;
    return fd;
}

// What the file's last line lacks of its CR LF: nothing for an empty file
// or one that ends in CR LF, LF after a lone CR, CR LF otherwise. Sets
// `error` when the file cannot be looked at.
QByteArray missingLineEnd(int fd, int& error) {
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        error = errno;
        return {};
    }
    if (status.st_size == 0) return {};
    char tail[2] = {};
    const off_t tailSize = std::min<off_t>(status.st_size, 2);
    const ssize_t read = ::pread(fd, tail, static_cast<size_t>(tailSize), status.st_size - tailSize);
    if (read < 0) {
        error = errno;
        return {};
    }
    const QByteArray end(tail, static_cast<qsizetype>(read));
    if (end == kLineEnd) return {};
    return end.endsWith('\r') ? QByteArrayLiteral("\n") : kLineEnd;
}

// 0, or the reason the bytes could not all be written.
int writeAll(int fd, const char* bytes, qsizetype size) {
    return platform::writeAll(platform::systemFileCalls(), fd, bytes, static_cast<std::size_t>(size));
}

}  // namespace

LogFile::LogFile(QString folder) : folder_(std::move(folder)) {}

LogFile::~LogFile() {
    if (fd_ >= 0) ::close(fd_);
}

void LogFile::use(const QString& name) {
    if (fd_ >= 0 && name == name_) return;
    close();
    name_ = name;
    path_ = folder_ + name;
    // The end of the file is looked at once, not every time it is opened:
    // only a failed write, of this log or of an earlier process, leaves it
    // torn.
    open(path_ != wholeFile_);
}

void LogFile::append(const QByteArray& bytes) {
    if (name_.isEmpty()) throw std::logic_error("the export log is appended to before a file is chosen");
    if (!stillOnDisk()) {
        close();
        open(false);
    }
    if (const int error = writeAll(fd_, bytes.constData(), bytes.size())) fail(error);
}

void LogFile::open(bool endTornLine) {
    int error = 0;
    fd_ = openCreatingFolder(path_, folder_, endTornLine, error);
    if (fd_ < 0) fail(error);
    if (!endTornLine) return;
    const QByteArray missing = missingLineEnd(fd_, error);
    if (error == 0) error = writeAll(fd_, missing.constData(), missing.size());
    if (error != 0) fail(error);
    wholeFile_ = path_;
}

void LogFile::close() {
    if (fd_ < 0) return;
    const int result = ::close(fd_);
    fd_ = -1;
    if (result != 0) fail(errno);
}

// Whether the name still leads to the file held open.
bool LogFile::stillOnDisk() const {
    struct stat held {};
    struct stat named {};
    if (::fstat(fd_, &held) != 0) return false;
    const QByteArray name = QFile::encodeName(path_);
    if (::stat(name.constData(), &named) != 0) return false;
    return held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

void LogFile::fail(int error) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    name_.clear();
    wholeFile_.clear();
    failWriting(path_, error);
}

}  // namespace velloran::exporting
