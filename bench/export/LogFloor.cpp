#include "LogFloor.h"

#include "Measure.h"

#include "log/ExportLog.h"
#include "log/LogFile.h"
#include "text/Gb18030.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <stdexcept>

namespace velloran::bench {

namespace {

// Lines are read in blocks, and only the appending of a block is timed.
constexpr qsizetype kBlockLines = 50'000;
const QByteArray kLineEnd = QByteArrayLiteral("\r\n");

// The next line without its CR LF. An item value may hold bare line
// breaks; such a line stays one line, as the export appended it.
QByteArray nextLine(QFile& file) {
    QByteArray line;
    while (!file.atEnd() && !line.endsWith(kLineEnd)) line += file.readLine();
    if (line.endsWith(kLineEnd)) line.chop(kLineEnd.size());
    return line;
}

QStringList nextBlock(QFile& file) {
    QStringList block;
    while (block.size() < kBlockLines && !file.atEnd()) block << platform::fromGb18030(nextLine(file));
    return block;
}

void replayFile(const QString& recorded, exporting::LogFile& log, LogReplay& replay) {
    QFile file(recorded);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read the recorded log " + recorded.toStdString() + ": " +
                                 file.errorString().toStdString());
    log.use(exporting::fileNamePart(recorded));
    while (!file.atEnd()) {
        const QStringList block = nextBlock(file);
        replay.seconds += secondsOf([&] {
            QByteArray bytes;
            for (const QString& line : block) bytes += platform::toGb18030(line) + kLineEnd;
            log.append(bytes);
        });
        replay.lines += block.size();
    }
}

}  // namespace

LogReplay replayLog(const QString& recordedFolder, const QString& targetFolder) {
    exporting::LogFile log(exporting::ExportLog(targetFolder).folder());
    const QDir recorded(recordedFolder);
    LogReplay replay;
    for (const QString& name : recorded.entryList({QStringLiteral("log*.txt")}, QDir::Files, QDir::Name))
        replayFile(recorded.filePath(name), log, replay);
    if (replay.lines == 0)
        throw std::runtime_error("the folder " + recordedFolder.toStdString() + " holds no recorded log line");
    return replay;
}

}  // namespace velloran::bench
