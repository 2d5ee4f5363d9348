#pragma once
// The export log: one text file per day, "log" + yyyyMMdd + ".txt", in one
// fixed folder, each line GB18030 text ended by CR LF. A run writes it
// through a RunLog; this names the files and formats the stamps.
#include "errors/Failure.h"

#include <QDateTime>
#include <QLocale>
#include <QString>

#include <functional>

namespace velloran::exporting {

// Milliseconds since the epoch: cheap enough to ask for every line.
using Clock = std::function<qint64()>;

// The stamps show whole seconds, so the log reads the coarse clock (a few
// milliseconds behind at most) rather than the precise one it would
// otherwise ask millions of times a run.
qint64 logClockMSecs();

class ExportLog {
public:
    // The per-user folder that receives the daily files.
    static QString defaultFolder();

    // `folder` is created when the first line needs it. The clock names the
    // day's file and stamps the lines; the locale formats the stamp.
    explicit ExportLog(QString folder = defaultFolder(), Clock clock = &logClockMSecs,
                       QLocale locale = QLocale::system());

    // The folder, ending in "/".
    const QString& folder() const { return folder_; }
    qint64 nowMSecs() const { return clock_(); }
    QDateTime now() const { return QDateTime::fromMSecsSinceEpoch(clock_()); }

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
};

// The path the export names the day's file by: exeFolder + "log/log" +
// yyyyMMdd + ".txt". Only its file-name part reaches the log, in the
// log's own folder.
QString ExportLogFileName(const QString& exeFolder, const QDate& day);

// The text after the last "/", "\" or ":".
QString fileNamePart(const QString& path);

}  // namespace velloran::exporting
