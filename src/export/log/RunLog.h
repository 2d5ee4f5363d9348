#pragma once
// How an export run writes its log: each line stamped with the moment it is
// composed and appended to the file of that moment's day, so a run that
// passes midnight continues in the next day's file.
#include "log/ExportLog.h"

#include <limits>

namespace velloran::exporting {

class RunLog {
public:
    RunLog(const ExportLog& log, QString exeFolder) : log_(log), exeFolder_(std::move(exeFolder)) {}

    // Throws ExportLogError when the line cannot be written.
    void write(const QString& line) const;

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
};

}  // namespace velloran::exporting
