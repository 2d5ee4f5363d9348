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

#include <QStringEncoder>

#include <limits>

namespace velloran::exporting {

class RunLog {
public:
    RunLog(const ExportLog& log, QString exeFolder);

    // Stamps the line and adds it to the lines waiting to be written. The
    // first line of a day opens that day's file, after writing the waiting
    // lines to the previous day's. Throws ExportLogError when either fails.
    void write(const LogLine& line) const;
    // Writes the waiting lines with one call. Throws ExportLogError naming
    // the file and the reason; the waiting lines are dropped then.
    void flush() const;

private:
    // The stamp shows whole seconds, so the file name and the stamp are
    // composed again only when the second changes: an export writes many
    // lines a second.
    struct Second {
        qint64 number = std::numeric_limits<qint64>::min();
        QString fileName;
        QString stamp;
        // The date alone, for a line composed at exactly midnight; empty
        // when the second is not the day's first.
        QString midnightStamp;
    };
    const Second& secondOf(qint64 msecs) const;
    const QString& stampAt(qint64 msecs) const;

    const ExportLog& log_;
    QString exeFolder_;
    mutable Second current_;
    mutable LogFile file_;
    // The waiting lines, each with its stamp and CR LF, and the same in
    // GB18030; both keep their room from one flush to the next.
    mutable QString waiting_;
    mutable QByteArray encoded_;
    mutable QStringEncoder encoder_;
};

}  // namespace velloran::exporting
