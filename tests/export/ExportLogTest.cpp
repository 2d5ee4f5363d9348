// The daily log file: naming, encoding, line ends, the folder it lands in,
// the stamp, a run over midnight, and a folder that cannot be written.
#include "QStringPrinter.h"
#include "TempDir.h"

#include "log/ExportLog.h"
#include "log/RunLog.h"
#include "text/Gb18030.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace velloran::exporting;
using velloran::testing::TempDir;

namespace {

const QLocale kChina(QLocale::Chinese, QLocale::China);

QDateTime at(int year, int month, int day, int hour, int minute, int second) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second));
}

QString folderOf(const TempDir& dir, const char* name) { return QString::fromStdString(dir.file(name)); }

}  // namespace

TEST(ExportLog, AppendsGb18030LinesWithCrLfToTheFileNamedByThePathsLastPart) {
    TempDir dir;
    ExportLog log(folderOf(dir, "logs/nested"), [] { return QDateTime(); }, kChina);
    // Only the file-name part counts, whichever separator comes before it.
    log.AppendLogLine(QStringLiteral("/opt/app/log/log20261206.txt"), QStringLiteral("开始导出视图V;"));
    log.AppendLogLine(QStringLiteral("C:\\app\\log\\log20261206.txt"), QStringLiteral("第二行 ☃"));
    log.AppendLogLine(QStringLiteral("c:log20261206.txt"), QString());

    const std::string bytes = TempDir::read(dir.file("logs/nested/log20261206.txt"));
    EXPECT_EQ(QByteArray::fromStdString(bytes),
              velloran::platform::toGb18030(QStringLiteral("开始导出视图V;\r\n第二行 ☃\r\n\r\n")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path() / "logs/nested"), {}), 1);
    EXPECT_FALSE(std::filesystem::exists("/opt/app/log")) << "the path's folder plays no part";
}

TEST(ExportLog, StampIsShortDateAndLongTimeWithoutTheTimeAtMidnight) {
    ExportLog log(QStringLiteral("/tmp"), {}, kChina);
    EXPECT_EQ(log.LogStamp(at(2026, 12, 6, 9, 5, 3)), QStringLiteral("2026/12/6 09:05:03"));
    EXPECT_EQ(log.LogStamp(at(2026, 12, 6, 0, 0, 0)), QStringLiteral("2026/12/6"));
    EXPECT_EQ(log.LogStamp(QDateTime(QDate(2026, 12, 6), QTime(0, 0, 0, 1))), QStringLiteral("2026/12/6 00:00:00"));
}

TEST(ExportLog, ARunOverMidnightContinuesInTheNextDaysFile) {
    TempDir dir;
    std::vector<QDateTime> moments = {at(2026, 12, 6, 23, 59, 59), at(2026, 12, 7, 0, 0, 0), at(2026, 12, 7, 0, 0, 1)};
    std::size_t next = 0;
    ExportLog log(folderOf(dir, "logs"), [&] { return moments.at(next++); }, kChina);
    RunLog run(log, QStringLiteral("/opt/velloran/"));
    run.write(QStringLiteral("a;"));
    run.write(QStringLiteral("b;"));
    run.write(QStringLiteral("c;"));

    EXPECT_EQ(TempDir::read(dir.file("logs/log20261206.txt")), "a;2026/12/6 23:59:59\r\n");
    EXPECT_EQ(TempDir::read(dir.file("logs/log20261207.txt")), "b;2026/12/7\r\nc;2026/12/7 00:00:01\r\n");
}

TEST(ExportLog, AFolderThatCannotBeWrittenRaisesAnErrorNamingTheFile) {
    TempDir dir;
    dir.write("blocked", "a file where the folder should be");
    ExportLog underAFile(folderOf(dir, "blocked/logs"));
    try {
        underAFile.AppendLogLine(QStringLiteral("log20261206.txt"), QStringLiteral("x"));
        FAIL() << "no error";
    } catch (const ExportLogError& error) {
        EXPECT_NE(std::string(error.what()).find(dir.file("blocked/logs/log20261206.txt")), std::string::npos)
            << error.what();
    }
    std::filesystem::create_directories(dir.path() / "logs/log20261206.txt");
    EXPECT_THROW(ExportLog(folderOf(dir, "logs")).AppendLogLine(QStringLiteral("log20261206.txt"), QStringLiteral("x")),
                 ExportLogError);
}
