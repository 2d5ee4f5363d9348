#include "log/RunLog.h"

namespace velloran::exporting {

void RunLog::write(const QString& line) const {
    const QDateTime now = log_.now();
    log_.AppendLogLine(ExportLogFileName(exeFolder_, now.date()), line + log_.LogStamp(now));
}

}  // namespace velloran::exporting
