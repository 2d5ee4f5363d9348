#pragma once
// Floor 3: the log work of the export. The lines an export wrote (the
// same count, the same bytes) appended again into another folder, a block
// of lines at a time into the daily file held open.
#include <QString>

namespace velloran::bench {

struct LogReplay {
    qint64 lines = 0;
    // Spent in encoding and appending only, not in reading the recorded lines.
    double seconds = 0;
};

// Replays every daily file "log*.txt" of `recordedFolder`, oldest first,
// into a file of the same name in `targetFolder`. Throws when the recorded
// folder holds no line.
LogReplay replayLog(const QString& recordedFolder, const QString& targetFolder);

}  // namespace velloran::bench
