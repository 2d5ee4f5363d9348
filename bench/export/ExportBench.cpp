// Figures for the export of a whole view, run by bench/export/run.sh:
//
//   velloran-export-bench window <database.nsf> <view> <scratch folder>
//     the export through the main window's command (offscreen);
//   velloran-export-bench floors <database.nsf> <workbook.xls> <log folder> <attachment folder>|- <scratch folder>
//     the floors under an export that wrote that workbook, log and
//     attachments: the plain scan of the database's item rows, the
//     workbook's bytes written again and synced, the log's bytes written
//     again, the attachment files copied; each in seconds, then their sum;
//   velloran-export-bench csv <database.nsf> <view> <cells.csv>
//     the cells the export writes, as CSV for other programs.
//
// The hive is the program's: VELLORAN_REGISTRY names it. Each figure line
// ends with its seconds, "<seconds> s", for run.sh to read.
#include "time/LocalTimeZone.h"
#include "FileFloors.h"
#include "ItemScan.h"
#include "Measure.h"
#include "ViewCsv.h"
#include "WindowExport.h"

#include "ScriptedPrompts.h"
#include "errors/GuardedApplication.h"
#include "registry/RegistryHive.h"

#include <QDir>

#include <cstdio>
#include <exception>
#include <filesystem>

using namespace velloran;

namespace {

QString inFolder(const QString& folder, const char* relative) { return QDir(folder).filePath(relative); }

int window(const QString& database, const QString& viewName, const QString& scratch) {
    QDir().mkpath(scratch);
    const bench::WindowExportResult result = bench::exportThroughWindow(
        {platform::RegistryHive::defaultPath(), database, viewName, inFolder(scratch, "window.xls"),
         inFolder(scratch, "exe/"), inFolder(scratch, "log")});
    std::printf("window export (the command alone, offscreen): %d documents, peak memory %.0f MB: %.3f s\n",
                result.documents, bench::peakMemoryMegabytes(), result.seconds);
    if (result.completed) return 0;
    std::fprintf(stderr, "the export did not complete; messages: %s\n",
                 qUtf8Printable(result.messages.join(QStringLiteral(" | "))));
    return 1;
}

constexpr double kMegabyte = 1e6;

// The floors read what the export wrote before the clock starts; only the
// writing is timed.
int floors(const std::string& database, const std::string& workbook, const std::string& logFolder,
           const std::string& attachments, const std::string& scratch) {
    const std::filesystem::path out(scratch);
    std::filesystem::create_directories(out);
    bench::ItemScan scan;
    const double scanSeconds = bench::secondsOf([&] { scan = bench::scanItems(database); });
    std::printf("floor scan: %lld item rows, %.0f MB read: %.3f s\n", static_cast<long long>(scan.rows),
                scan.bytes / kMegabyte, scanSeconds);

    const std::string workbookBytes = bench::readFile(workbook);
    const double workbookSeconds = bench::secondsOf(
        [&] { bench::writeInOneGo((out / "workbook.xls").string(), workbookBytes, bench::Sync::Yes); });
    std::printf("floor workbook: %.1f MB written in one go and synced: %.3f s\n", workbookBytes.size() / kMegabyte,
                workbookSeconds);

    const std::string log = bench::logBytes(logFolder);
    const double logSeconds = bench::secondsOf([&] { bench::writeInOneGo((out / "log.txt").string(), log, bench::Sync::No); });
    std::printf("floor log: %.1f MB written in one go: %.3f s\n", log.size() / kMegabyte, logSeconds);

    double sum = scanSeconds + workbookSeconds + logSeconds;
    if (attachments != "-") {
        bench::CopiedFiles copied;
        const double copySeconds =
            bench::secondsOf([&] { copied = bench::copyFolder(attachments, (out / "attachments").string()); });
        std::printf("floor attachments: %lld files, %.0f MB copied: %.3f s\n", static_cast<long long>(copied.files),
                    copied.bytes / kMegabyte, copySeconds);
        sum += copySeconds;
    }
    std::printf("sum of floors: %.3f s\n", sum);
    return 0;
}

int csv(const QString& database, const QString& viewName, const QString& csvPath) {
    const qint64 documents = bench::writeViewCsv(platform::RegistryHive::defaultPath(), database, viewName, csvPath);
    std::printf("%lld documents written as CSV to %s\n", static_cast<long long>(documents), qUtf8Printable(csvPath));
    return 0;
}

int usage(const char* program) {
    std::fprintf(stderr,
                 "usage: %s window <database.nsf> <view> <scratch folder>\n"
                 "       %s floors <database.nsf> <workbook.xls> <log folder> <attachment folder>|- <scratch folder>\n"
                 "       %s csv <database.nsf> <view> <cells.csv>\n",
                 program, program, program);
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
        else if (mode == QLatin1String("floors") && argc == 7)
            status = floors(argv[2], argv[3], argv[4], argv[5], argv[6]);
        else if (mode == QLatin1String("csv") && argc == 5)
            status = csv(arg(2), arg(3), arg(4));
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
