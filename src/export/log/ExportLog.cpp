#include "log/ExportLog.h"

#include "text/Gb18030.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace velloran::exporting {

namespace {

const QString kDayFormat = QStringLiteral("yyyyMMdd");

QString withTrailingSlash(QString folder) {
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    return folder;
}

// The locale's long time format without its time-zone name, which the
// stamp does not carry. Quoted literal text is kept as it is.
QString timeFormatWithoutZone(const QLocale& locale) {
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString kept;
    bool quoted = false;
    for (QChar c : format) {
        if (c == QLatin1Char('\'')) quoted = !quoted;
        if (quoted || c != QLatin1Char('t')) kept += c;
    }
    kept = kept.simplified();
    return kept.isEmpty() ? QStringLiteral("HH:mm:ss") : kept;
}

[[noreturn]] void failWriting(const QString& file, int error) {
    throw ExportLogError("I/O error writing the export log " + file.toStdString() + ": " + std::strerror(error));
}

int openForAppending(const QString& file) {
    const QByteArray name = QFile::encodeName(file);
    return ::open(name.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
}

void writeAll(int fd, const QByteArray& bytes, const QString& file) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        ssize_t written = ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) {
            int error = errno;
            ::close(fd);
            failWriting(file, error);
        }
        done += written;
    }
}

}  // namespace

QString ExportLog::defaultFolder() { return QDir::homePath() + QStringLiteral("/.local/share/velloran/"); }

ExportLog::ExportLog(QString folder, Clock clock, QLocale locale)
    : folder_(withTrailingSlash(std::move(folder))),
      clock_(std::move(clock)),
      locale_(std::move(locale)),
      timeFormat_(timeFormatWithoutZone(locale_)) {}

void ExportLog::AppendLogLine(const QString& path, const QString& line) const {
    const QString file = folder_ + fileNamePart(path);
    int fd = openForAppending(file);
    int error = errno;
    if (fd < 0 && error == ENOENT && QDir().mkpath(folder_)) {
        fd = openForAppending(file);
        error = errno;
    }
    if (fd < 0) failWriting(file, error);
    writeAll(fd, platform::toGb18030(line) + "\r\n", file);
    if (::close(fd) != 0) failWriting(file, errno);
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
