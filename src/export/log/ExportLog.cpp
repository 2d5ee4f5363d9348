#include "log/ExportLog.h"

#include "log/TimeFormat.h"
#include "time/CoarseClock.h"

#include <QDir>

namespace velloran::exporting {

namespace {

const QString kDayFormat = QStringLiteral("yyyyMMdd");

QString withTrailingSlash(QString folder) {
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    return folder;
}

}  // namespace

qint64 logClockMSecs() { return platform::coarseRealTimeMSecs(); }

QString ExportLog::defaultFolder() { return QDir::homePath() + QStringLiteral("/.local/share/velloran/"); }

ExportLog::ExportLog(QString folder, Clock clock, QLocale locale)
    : folder_(withTrailingSlash(std::move(folder))),
      clock_(std::move(clock)),
      locale_(std::move(locale)),
      timeFormat_(stampTimeFormat(locale_)) {}

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
