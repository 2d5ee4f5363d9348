#pragma once
// How an export run writes its log: each line stamped with the moment it is
// composed and appended to the file of that moment's day, so a run that
// passes midnight continues in the next day's file.
#include "log/ExportLog.h"

namespace velloran::exporting {

class RunLog {
public:
    RunLog(const ExportLog& log, QString exeFolder) : log_(log), exeFolder_(std::move(exeFolder)) {}

    // Throws ExportLogError when the line cannot be written.
    void write(const QString& line) const;

private:
    const ExportLog& log_;
    QString exeFolder_;
};

}  // namespace velloran::exporting
