#pragma once
// How an export run writes its log: each line stamped with the moment it is
// composed and appended to the file of that moment's day, so a run that
// passes midnight continues in the next day's file.
//
// The lines are gathered and written together by flush (the run flushes at
// the end of each document and before it tells the user anything), into
// the day's file held open for the run. The file gets the same bytes as if
// every line were appended on its own; only a file renamed or removed by
// someone else is noticed at the next flush rather than at the next line.
#include "log/ExportLog.h"
#include "log/LogFile.h"
#include "log/LogLine.h"

#include "text/Gb18030Encoder.h"

#include <limits>

namespace velloran::exporting {

class RunLog {
public:
    RunLog(const ExportLog& log, QString exeFolder);

    // Stamps the line and adds it to the lines waiting to be written. The
    // first line of a day opens that day's file, after writing the waiting
    // lines to the previous day's. Throws a Failure of Kind::Log when either
    // fails, unless the log keeps going on failure: a line no file could be
    // opened for is then counted lost at once.
    void write(const LogLine& line) const;
    // Writes the waiting lines with one call. Throws a Failure of Kind::Log naming
    // the file and the reason; the waiting lines are dropped then.
    void flush() const;

    // From now on a failed write drops its lines and counts them instead of
    // throwing: the run goes on and tells the count at its end.
    void keepGoingOnFailure() const { keepGoing_ = true; }
    // The lines dropped so far, and why the first of them was.
    int lostLines() const { return lostLines_; }
    const QString& firstLoss() const { return firstLoss_; }

private:
    // The stamp shows whole seconds, so the file name and the stamp are
    // composed again only when the second changes: an export writes many
    // lines a second.
    struct Second {
        qint64 number = std::numeric_limits<qint64>::min();
        QString fileName;
        // The stamps in GB18030, each with the line's CR LF.
        QByteArray stamp;
        // The date alone, for a line composed at exactly midnight; empty
        // when the second is not the day's first.
        QByteArray midnightStamp;
    };
    // Moves to the second of `msecs`; tells whether it is another second.
    bool moveTo(qint64 msecs) const;
    const QByteArray& stampAt(qint64 msecs) const;
    QByteArray stampBytes(const QDateTime& moment) const;
    void countLost(int lines, const platform::Failure& error) const;

    const ExportLog& log_;
    QString exeFolder_;
    mutable Second current_;
    mutable LogFile file_;
    // The waiting lines in GB18030, each with its stamp and CR LF; the
    // buffer keeps its room from one flush to the next.
    mutable QByteArray waiting_;
    mutable platform::Gb18030Encoder encoder_;
    mutable int waitingLines_ = 0;
    mutable bool keepGoing_ = false;
    mutable int lostLines_ = 0;
    mutable QString firstLoss_;
};

}  // namespace velloran::exporting
