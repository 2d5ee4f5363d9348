#include "log/RunLog.h"

namespace velloran::exporting {

namespace {

constexpr qint64 kMSecsPerSecond = 1000;

// Rounded down, also before the epoch.
qint64 secondNumber(qint64 msecs) { return msecs / kMSecsPerSecond - (msecs % kMSecsPerSecond < 0 ? 1 : 0); }

}  // namespace

const RunLog::Second& RunLog::secondOf(qint64 msecs) const {
    const qint64 number = secondNumber(msecs);
    if (number == current_.number) return current_;
    const QDateTime start = QDateTime::fromMSecsSinceEpoch(number * kMSecsPerSecond);
    const bool midnight = start.time() == QTime(0, 0);
    // Any moment after the second's first millisecond carries the time.
    current_ = {number, ExportLogFileName(exeFolder_, start.date()), log_.LogStamp(start.addMSecs(1)),
                midnight ? log_.LogStamp(start) : QString()};
    return current_;
}

const QString& RunLog::stampAt(qint64 msecs) const {
    const Second& second = secondOf(msecs);
    const bool exactMidnight = !second.midnightStamp.isEmpty() && msecs == second.number * kMSecsPerSecond;
    return exactMidnight ? second.midnightStamp : second.stamp;
}

void RunLog::write(const QString& line) const {
    const qint64 msecs = log_.nowMSecs();
    const QString& stamp = stampAt(msecs);
    log_.AppendLogLine(current_.fileName, line + stamp);
}

}  // namespace velloran::exporting
