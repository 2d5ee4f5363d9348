#include "log/RunLog.h"

namespace velloran::exporting {

const RunLog::Second& RunLog::secondOf(const QDateTime& now) const {
    const qint64 second = now.toSecsSinceEpoch();
    if (second != current_.number) {
        current_ = {second, ExportLogFileName(exeFolder_, now.date()), log_.LogStamp(now)};
    }
    return current_;
}

void RunLog::write(const QString& line) const {
    const Second& second = secondOf(log_.now());
    log_.AppendLogLine(second.fileName, line + second.stamp);
}

}  // namespace velloran::exporting
