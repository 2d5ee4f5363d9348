#pragma once
// The export log: one text file per day, "log" + yyyyMMdd + ".txt", in one
// fixed folder, each line GB18030 text ended by CR LF. Every line is
// appended by opening the file, writing and closing it again; nothing is
// kept open between lines.
#include <QDateTime>
#include <QLocale>
#include <QString>

#include <functional>
#include <stdexcept>

namespace velloran::exporting {

// A log line that could not be written; the message names the file and the
// reason.
class ExportLogError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Milliseconds since the epoch: cheap enough to ask for every line.
using Clock = std::function<qint64()>;

class ExportLog {
public:
    // The per-user folder that receives the daily files.
    static QString defaultFolder();

    // `folder` is created when the first line needs it. The clock names the
    // day's file and stamps the lines; the locale formats the stamp.
    explicit ExportLog(QString folder = defaultFolder(), Clock clock = &QDateTime::currentMSecsSinceEpoch,
                       QLocale locale = QLocale::system());

    // The folder, ending in "/".
    const QString& folder() const { return folder_; }
    qint64 nowMSecs() const { return clock_(); }
    QDateTime now() const { return QDateTime::fromMSecsSinceEpoch(clock_()); }

    // Appends `line` and CR LF to the file of the folder named by the
    // file-name part of `path` (the text after its last "/", "\" or ":");
    // the folder part of `path` plays no part. Creates the file when
    // missing. The first line this log appends to a file, and the first
    // after a failed write, first ends a line left torn in it (no CR LF at
    // its end) so the new line never joins it. Throws ExportLogError when
    // the line cannot be written. Not for use by several threads at once.
    void AppendLogLine(const QString& path, const QString& line) const;

    // The moment in the locale's short date format, a blank and its long
    // time format; the time is left out at exactly midnight.
    QString LogStamp(const QDateTime& moment) const;

    // The day's file in the folder.
    QString fileFor(const QDate& day) const;

private:
    QString folder_;
    Clock clock_;
    QLocale locale_;
    QString timeFormat_;
    // The file whose end was last seen whole; cleared by a failed write.
    mutable QString wholeFile_;
};

// The path the export hands to AppendLogLine: exeFolder + "log/log" +
// yyyyMMdd + ".txt". Only its file-name part reaches the log.
QString ExportLogFileName(const QString& exeFolder, const QDate& day);

// The text after the last "/", "\" or ":".
QString fileNamePart(const QString& path);

}  // namespace velloran::exporting
