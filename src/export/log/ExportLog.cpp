#include "log/ExportLog.h"

#include "log/TimeFormat.h"
#include "text/Gb18030.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velloran::exporting {

namespace {

const QString kDayFormat = QStringLiteral("yyyyMMdd");
const QByteArray kLineEnd = QByteArrayLiteral("\r\n");

QString withTrailingSlash(QString folder) {
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    return folder;
}

[[noreturn]] void failWriting(const QString& file, int error) {
    throw ExportLogError("I/O error writing the export log " + file.toStdString() + ": " + std::strerror(error));
}

// An open log file, closed however the append ends.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }

    int fd() const { return fd_; }
    void close(const QString& file) {
        const int result = ::close(fd_);
        fd_ = -1;
        if (result != 0) failWriting(file, errno);
    }

private:
    int fd_;
};

// Opened for reading too when the end of the file is to be looked at.
int openForAppending(const QString& file, bool readable) {
    const QByteArray name = QFile::encodeName(file);
    return ::open(name.constData(), (readable ? O_RDWR : O_WRONLY) | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
}

int openCreatingFolder(const QString& file, const QString& folder, bool readable) {
    int fd = openForAppending(file, readable);
    int error = errno;
    if (fd < 0 && error == ENOENT && QDir().mkpath(folder)) {
        fd = openForAppending(file, readable);
        error = errno;
    }
    if (fd < 0) failWriting(file, error);
    return fd;
}

// What the file's last line lacks of its CR LF: nothing for an empty file
// or one that ends in CR LF, LF after a lone CR, CR LF otherwise.
QByteArray missingLineEnd(const Descriptor& log, const QString& file) {
    struct stat status {};
    if (::fstat(log.fd(), &status) != 0) failWriting(file, errno);
    if (status.st_size == 0) return {};
    char tail[2] = {};
    const off_t tailSize = std::min<off_t>(status.st_size, 2);
    const ssize_t read = ::pread(log.fd(), tail, static_cast<size_t>(tailSize), status.st_size - tailSize);
    if (read < 0) failWriting(file, errno);
    const QByteArray end(tail, static_cast<qsizetype>(read));
    if (end == kLineEnd) return {};
    return end.endsWith('\r') ? QByteArrayLiteral("\n") : kLineEnd;
}

void writeAll(const Descriptor& log, const QByteArray& bytes, const QString& file) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(log.fd(), bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) failWriting(file, errno);
        done += written;
    }
}

}  // namespace

QString ExportLog::defaultFolder() { return QDir::homePath() + QStringLiteral("/.local/share/velloran/"); }

ExportLog::ExportLog(QString folder, Clock clock, QLocale locale)
    : folder_(withTrailingSlash(std::move(folder))),
      clock_(std::move(clock)),
      locale_(std::move(locale)),
      timeFormat_(stampTimeFormat(locale_)) {}

void ExportLog::AppendLogLine(const QString& path, const QString& line) const {
    const QString file = folder_ + fileNamePart(path);
    // The end of the file is looked at once, not for every line: only a
    // failed write, of this log or of an earlier process, leaves it torn.
    const bool lookAtEnd = file != wholeFile_;
    try {
        Descriptor log(openCreatingFolder(file, folder_, lookAtEnd));
        QByteArray bytes = platform::toGb18030(line) + kLineEnd;
        if (lookAtEnd) bytes.prepend(missingLineEnd(log, file));
        writeAll(log, bytes, file);
        log.close(file);
    } catch (const ExportLogError&) {
        wholeFile_.clear();
        throw;
    }
    if (lookAtEnd) wholeFile_ = file;
}

QString ExportLog::LogStamp(const QDateTime& moment) const {
    const QString date = locale_.toString(moment.date(), QLocale::ShortFormat);
    if (moment.time() == QTime(0, 0)) return date;
    return date + QLatin1Char(' ') + locale_.toString(moment.time(), timeFormat_);
}

QString ExportLog::fileFor(const QDate& day) const {
    return folder_ + QStringLiteral("log") + day.toString(kDayFormat) + QStringLiteral(".txt");
}

QString ExportLogFileName(const QString& exeFolder, const QDate& day) {
    return exeFolder + QStringLiteral("log/log") + day.toString(kDayFormat) + QStringLiteral(".txt");
}

QString fileNamePart(const QString& path) {
    qsizetype cut = -1;
    for (QChar separator : {QLatin1Char('/'), QLatin1Char('\\'), QLatin1Char(':')})
        cut = std::max(cut, path.lastIndexOf(separator));
    return path.mid(cut + 1);
}

}  // namespace velloran::exporting
