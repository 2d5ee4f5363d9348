#include "log/RunLog.h"

namespace velloran::exporting {

namespace {

constexpr qint64 kMSecsPerSecond = 1000;

// Rounded down, also before the epoch.
qint64 secondNumber(qint64 msecs) { return msecs / kMSecsPerSecond - (msecs % kMSecsPerSecond < 0 ? 1 : 0); }

}  // namespace

RunLog::RunLog(const ExportLog& log, QString exeFolder)
    : log_(log),
      exeFolder_(std::move(exeFolder)),
      file_(log.folder()) {}

bool RunLog::moveTo(qint64 msecs) const {
    const qint64 number = secondNumber(msecs);
    if (number == current_.number) return false;
    const QDateTime start = QDateTime::fromMSecsSinceEpoch(number * kMSecsPerSecond);
    const bool midnight = start.time() == QTime(0, 0);
    // Any moment after the second's first millisecond carries the time.
    current_ = {number, fileNamePart(ExportLogFileName(exeFolder_, start.date())), stampBytes(start.addMSecs(1)),
                midnight ? stampBytes(start) : QByteArray()};
    return true;
}

QByteArray RunLog::stampBytes(const QDateTime& moment) const {
    QByteArray bytes;
    encoder_.append(log_.LogStamp(moment) + QStringLiteral("\r\n"), bytes);
    return bytes;
}

const QByteArray& RunLog::stampAt(qint64 msecs) const {
    const bool exactMidnight = !current_.midnightStamp.isEmpty() && msecs == current_.number * kMSecsPerSecond;
    return exactMidnight ? current_.midnightStamp : current_.stamp;
}

// The day's file can change only with the second; a failed write closes
// the file, and the next line opens it again.
void RunLog::write(const LogLine& line) const {
    const qint64 msecs = log_.nowMSecs();
    const bool anotherSecond = moveTo(msecs);
    if ((anotherSecond || file_.name().isEmpty()) && current_.fileName != file_.name()) {
        flush();
        try {
            file_.use(current_.fileName);
        } catch (const platform::Failure& error) {
            // No file takes the line; the next line tries to open it again.
            if (!keepGoing_ || !error.is(platform::Failure::Kind::Log)) throw;
            countLost(1, error);
            return;
        }
    }
    line.encodeTo(waiting_, encoder_);
    waiting_.append(stampAt(msecs));
    ++waitingLines_;
}

// Every line ends in its stamp, never inside a surrogate pair, so the lines
// encoded one by one give the bytes they would give encoded together.
void RunLog::flush() const {
    if (waiting_.isEmpty()) return;
    // The lines are dropped whether or not the write succeeds; the buffer
    // keeps its room.
    struct Dropped {
        QByteArray& lines;
        int& count;
        ~Dropped() {
            lines.resize(0);
            count = 0;
        }
    } dropped{waiting_, waitingLines_};
    try {
        file_.append(waiting_);
    } catch (const platform::Failure& error) {
        if (!keepGoing_ || !error.is(platform::Failure::Kind::Log)) throw;
        countLost(waitingLines_, error);
    }
}

void RunLog::countLost(int lines, const platform::Failure& error) const {
    if (lostLines_ == 0) firstLoss_ = QString::fromStdString(platform::describeFailure(error, false));
    lostLines_ += lines;
}

}  // namespace velloran::exporting
