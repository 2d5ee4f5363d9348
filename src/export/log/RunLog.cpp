#include "log/RunLog.h"

namespace velloran::exporting {

namespace {

constexpr qint64 kMSecsPerSecond = 1000;
// The log's encoding, by the name under which Qt finds it through ICU.
constexpr const char* kLogEncoding = "GB18030";

// Rounded down, also before the epoch.
qint64 secondNumber(qint64 msecs) { return msecs / kMSecsPerSecond - (msecs % kMSecsPerSecond < 0 ? 1 : 0); }

}  // namespace

RunLog::RunLog(const ExportLog& log, QString exeFolder)
    : log_(log),
      exeFolder_(std::move(exeFolder)),
      file_(log.folder()),
      encoder_(kLogEncoding, QStringConverter::Flag::Stateless) {}

const RunLog::Second& RunLog::secondOf(qint64 msecs) const {
    const qint64 number = secondNumber(msecs);
    if (number == current_.number) return current_;
    const QDateTime start = QDateTime::fromMSecsSinceEpoch(number * kMSecsPerSecond);
    const bool midnight = start.time() == QTime(0, 0);
    // Any moment after the second's first millisecond carries the time.
    current_ = {number, fileNamePart(ExportLogFileName(exeFolder_, start.date())), log_.LogStamp(start.addMSecs(1)),
                midnight ? log_.LogStamp(start) : QString()};
    return current_;
}

const QString& RunLog::stampAt(qint64 msecs) const {
    const Second& second = secondOf(msecs);
    const bool exactMidnight = !second.midnightStamp.isEmpty() && msecs == second.number * kMSecsPerSecond;
    return exactMidnight ? second.midnightStamp : second.stamp;
}

void RunLog::write(const LogLine& line) const {
    const qint64 msecs = log_.nowMSecs();
    const QString& stamp = stampAt(msecs);
    if (current_.fileName != file_.name()) {
        flush();
        file_.use(current_.fileName);
    }
    line.appendTo(waiting_);
    waiting_.append(stamp);
    waiting_.append(u"\r\n");
}

// Every line ends in its stamp, never inside a surrogate pair, so the lines
// encoded together give the bytes they give one by one.
void RunLog::flush() const {
    if (waiting_.isEmpty()) return;
    encoded_.resize(encoder_.requiredSpace(waiting_.size()));
    const char* end = encoder_.appendToBuffer(encoded_.data(), waiting_);
    encoded_.resize(end - encoded_.constData());
    waiting_.resize(0);
    file_.append(encoded_);
}

}  // namespace velloran::exporting
