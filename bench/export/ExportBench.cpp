// Figures for the export of a whole view: the export through the main
// window's command, and the three floors it cannot go below (the engine
// walk with the attachments, the workbook, the log), measured on the same
// database by bench/export/run.sh, which also times the batch tool.
//
//   velloran-export-bench window <database.nsf> <view> <scratch folder>
//   velloran-export-bench floors <database.nsf> <view> <scratch folder> <recorded log folder>
//
// The hive is the program's: VELLORAN_REGISTRY names it. "window" leaves
// its log in <scratch folder>/log, for "floors" to replay.
#include "time/LocalTimeZone.h"
#include "EngineFloor.h"
#include "LogFloor.h"
#include "Measure.h"
#include "WindowExport.h"
#include "WorkbookFloor.h"

#include "ScriptedPrompts.h"
#include "errors/GuardedApplication.h"
#include "registry/RegistryHive.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <exception>

using namespace velloran;

namespace {

QString inFolder(const QString& folder, const char* relative) { return QDir(folder).filePath(relative); }

int window(const QString& database, const QString& viewName, const QString& scratch) {
    QDir().mkpath(scratch);
    const bench::WindowExportResult result = bench::exportThroughWindow(
        {platform::RegistryHive::defaultPath(), database, viewName, inFolder(scratch, "window.xls"),
         inFolder(scratch, "exe/"), inFolder(scratch, "log")});
    std::printf("window export (exportExecute, offscreen): %d documents in %.2f s, %.0f documents/s, "
                "peak memory %.0f MB\n",
                result.documents, result.seconds, result.documents / result.seconds, bench::peakMemoryMegabytes());
    if (result.completed) return 0;
    std::fprintf(stderr, "the export did not complete; messages: %s\n",
                 qUtf8Printable(result.messages.join(QStringLiteral(" | "))));
    return 1;
}

int floors(const QString& database, const QString& viewName, const QString& scratch, const QString& recordedLog) {
    const std::string hive = platform::RegistryHive::defaultPath();
    bench::EngineFloor engine(hive, database);
    bench::EngineWalk walk;
    const double engineSeconds = bench::secondsOf([&] { walk = engine.walk(viewName, inFolder(scratch, "attachments/")); });
    std::printf("floor 1, engine walk: %lld documents, %lld items read, %lld attachments extracted: %.2f s\n",
                walk.documents, walk.cells.size() - walk.documents, walk.attachments, engineSeconds);

    const QString workbook = inFolder(scratch, "floor.xls");
    qint64 cells = 0;
    const double workbookSeconds = bench::secondsOf([&] { cells = bench::writeWorkbook(hive, walk, workbook); });
    std::printf("floor 2, workbook: %lld cells written and saved (%.0f MB): %.2f s\n", cells,
                QFileInfo(workbook).size() / 1e6, workbookSeconds);

    const bench::LogReplay replay = bench::replayLog(recordedLog, inFolder(scratch, "log"));
    std::printf("floor 3, log: %lld lines appended: %.2f s\n", replay.lines, replay.seconds);
    std::printf("sum of floors: %.2f s\n", engineSeconds + workbookSeconds + replay.seconds);
    return 0;
}

int usage(const char* program) {
    std::fprintf(stderr,
                 "usage: %s window <database.nsf> <view> <scratch folder>\n"
                 "       %s floors <database.nsf> <view> <scratch folder> <recorded log folder>\n",
                 program, program);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    // As the program and the batch tool do at start.
    platform::settleLocalTimeZone();
    platform::GuardedApplication application(argc, argv);
    // A failure escaping an event handler is recorded, never shown in a box
    // that nobody closes.
    testing::ScriptedPrompts reports;
    application.setPrompts(&reports);
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const auto arg = [argv](int index) { return QString::fromLocal8Bit(argv[index]); };
    try {
        int status = 0;
        if (mode == QLatin1String("window") && argc == 5)
            status = window(arg(2), arg(3), arg(4));
        else if (mode == QLatin1String("floors") && argc == 6)
            status = floors(arg(2), arg(3), arg(4), arg(5));
        else
            return usage(argv[0]);
        for (const testing::PromptCall& report : reports.messages())
            std::fprintf(stderr, "error report: %s\n", qUtf8Printable(report.text));
        return reports.messages().empty() ? status : 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s\n", argv[0], error.what());
        return 1;
    }
}
