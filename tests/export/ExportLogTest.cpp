// The daily log file: naming, encoding, line ends, the folder it lands in,
// the stamp under several locales, names and values that could break a
// line, a run over midnight, a torn last line, and writes that fail.
#include "QStringPrinter.h"
#include "FileSizeLimit.h"
#include "TempDir.h"

#include "log/ExportLog.h"
#include "log/LogLines.h"
#include "log/RunLog.h"
#include "log/TimeFormat.h"
#include "text/Gb18030.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

using namespace velloran::exporting;
using velloran::testing::FileSizeLimit;
using velloran::testing::TempDir;
using ::testing::HasSubstr;

namespace {

const QLocale kChina(QLocale::Chinese, QLocale::China);

QDateTime at(int year, int month, int day, int hour, int minute, int second, int msec = 0) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second, msec));
}

QString folderOf(const TempDir& dir, const char* name) { return QString::fromStdString(dir.file(name)); }

}  // namespace

TEST(ExportLog, ARunWritesGb18030LinesWithCrLfIntoTheDaysFileOfTheLogFolder) {
    TempDir dir;
    ExportLog log(folderOf(dir, "logs/nested"), [] { return at(2026, 12, 6, 9, 5, 3).toMSecsSinceEpoch(); }, kChina);
    // The program's folder names the day's file; only its file name counts.
    RunLog run(log, QStringLiteral("/opt/app/"));
    run.write(LogLine().text(u"开始导出视图V;"));
    run.write(LogLine().text(u"第二行 ☃"));
    run.flush();

    const std::string bytes = TempDir::read(dir.file("logs/nested/log20261206.txt"));
    EXPECT_EQ(QByteArray::fromStdString(bytes),
              velloran::platform::toGb18030(
                  QStringLiteral("开始导出视图V;2026/12/6 09:05:03\r\n第二行 ☃2026/12/6 09:05:03\r\n")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path() / "logs/nested"), {}), 1);
    EXPECT_FALSE(std::filesystem::exists("/opt/app/log")) << "the program's folder plays no part";
}

TEST(ExportLog, StampIsShortDateAndLongTimeWithoutTheTimeAtMidnight) {
    ExportLog log(QStringLiteral("/tmp"), Clock(), kChina);
    EXPECT_EQ(log.LogStamp(at(2026, 12, 6, 9, 5, 3)), QStringLiteral("2026/12/6 09:05:03"));
    EXPECT_EQ(log.LogStamp(at(2026, 12, 6, 0, 0, 0)), QStringLiteral("2026/12/6"));
    EXPECT_EQ(log.LogStamp(at(2026, 12, 6, 0, 0, 0, 1)), QStringLiteral("2026/12/6 00:00:00"));
}

TEST(ExportLog, TheDefaultClockTellsTheTimeOfDayToTheSecond) {
    const qint64 before = QDateTime::currentMSecsSinceEpoch();
    const qint64 logged = ExportLog(QStringLiteral("/tmp")).nowMSecs();
    const qint64 after = QDateTime::currentMSecsSinceEpoch();
    EXPECT_GE(logged, before - 1000);
    EXPECT_LE(logged, after);
}

TEST(ExportLog, StampTimeHasOnlyWhatQtFormatsUnderEveryLocale) {
    const std::pair<const char*, QString> stamps[] = {
        {"zh_CN", QStringLiteral("2026/12/6 23:45:50")},   {"zh_TW", QStringLiteral("2026/12/6 下午11:45:50")},
        {"zh_HK", QStringLiteral("6/12/2026 下午11:45:50")}, {"en_US", QStringLiteral("12/6/26 11:45:50 PM")},
        {"de_DE", QStringLiteral("06.12.26 23:45:50")},    {"C", QStringLiteral("6 Dec 2026 23:45:50")},
    };
    for (const auto& [name, stamp] : stamps)
        EXPECT_EQ(ExportLog(QStringLiteral("/tmp"), Clock(), QLocale(QString::fromLatin1(name)))
                      .LogStamp(at(2026, 12, 6, 23, 45, 50)),
                  stamp)
            << name;

    EXPECT_EQ(qtTimeFormat(QStringLiteral("H:mm:ss (t)")), QStringLiteral("H:mm:ss"));
    EXPECT_EQ(qtTimeFormat(QStringLiteral("zzzz HH:mm:ss")), QStringLiteral("HH:mm:ss"));
    EXPECT_EQ(qtTimeFormat(QStringLiteral("HH 't' mm [t] ss")), QStringLiteral("HH 't' mm ss"));
    EXPECT_EQ(qtTimeFormat(QStringLiteral("Bh:mm:ss 'o''clock' [zzzz]")), QStringLiteral("APh:mm:ss 'o''clock'"));
    EXPECT_EQ(qtTimeFormat(QStringLiteral("[t]")), QStringLiteral("HH:mm:ss")) << "no time left";
}

TEST(ExportLog, NamesInALineHaveTheirControlCharactersWrittenOut) {
    const QString name = QStringLiteral("a\r\n2026/12/6 09:05:03\tb\x01\x1f\x7f\\c") + QChar(0x9B) + QChar(0xA0);
    const QString written = QStringLiteral("a\\r\\n2026/12/6 09:05:03\\tb\\x01\\x1F\\x7F\\c\\x9B") + QChar(0xA0);
    EXPECT_EQ(lines::attachmentFound(1, 2, name).toString(), QStringLiteral("获取第1个文档第2个附件:") + written + ";");
    EXPECT_EQ(lines::documentStepFailed(3, name, QStringLiteral("disk\nfull")).toString(),
              QStringLiteral("导出第3个文档出错:") + written + QStringLiteral(",disk\\nfull;"));
    const QString everyOther[] = {
        lines::exportStarted(name, name).toString(), lines::attachmentSaved(1, 1, name).toString(),
        lines::pictureStarted(name).toString(),      lines::pictureFinished(name).toString(),
        lines::richTextObjectSaved(1, name).toString(),
    };
    for (const QString& line : everyOther) {
        EXPECT_TRUE(line.contains(written)) << line.toStdString();
        EXPECT_FALSE(line.contains(QLatin1Char('\n')) || line.contains(QLatin1Char('\r'))) << line.toStdString();
    }
}

TEST(ExportLog, ValuesKeepTheirLineBreaksEachAsCrLf) {
    EXPECT_EQ(lines::itemValue(QStringLiteral("a\nb\rc\r\nd\n\re\r\r\n")).toString(),
              QStringLiteral("  s=s+a\r\nb\r\nc\r\nd\r\n\r\ne\r\n\r\n;"));
    EXPECT_EQ(lines::itemValue(QStringLiteral("\tx\\")).toString(), QStringLiteral("  s=s+\tx\\;"));
    EXPECT_EQ(lines::attachmentCount(-12, 9'876'543'210).toString(),
              QStringLiteral("获取第-12个文档有附件数量为:9876543210;"));
}

TEST(ExportLog, ARunOverMidnightStampsOnlyTheExactMidnightWithoutTime) {
    TempDir dir;
    std::vector<QDateTime> moments = {at(2026, 12, 6, 23, 59, 59, 999), at(2026, 12, 7, 0, 0, 0),
                                      at(2026, 12, 7, 0, 0, 0, 400), at(2026, 12, 7, 0, 0, 1)};
    std::size_t next = 0;
    ExportLog log(folderOf(dir, "logs"), [&] { return moments.at(next++).toMSecsSinceEpoch(); }, kChina);
    RunLog run(log, QStringLiteral("/opt/velloran/"));
    for (const char16_t* line : {u"a;", u"b;", u"c;", u"d;"}) run.write(LogLine().text(line));
    run.flush();

    EXPECT_EQ(TempDir::read(dir.file("logs/log20261206.txt")), "a;2026/12/6 23:59:59\r\n");
    EXPECT_EQ(TempDir::read(dir.file("logs/log20261207.txt")),
              "b;2026/12/7\r\nc;2026/12/7 00:00:00\r\nd;2026/12/7 00:00:01\r\n");
}

TEST(ExportLog, ATornLastLineIsEndedBeforeTheFirstNewLine) {
    TempDir dir;
    dir.write("logs/log20261206.txt", "torn");
    dir.write("logs/log20261207.txt", "torn\r");
    dir.write("logs/log20261208.txt", "whole\r\n");
    dir.write("logs/log20261209.txt", "");
    // Two lines at each of four midnights, which are stamped with the date.
    int line = 0;
    ExportLog log(folderOf(dir, "logs"), [&] { return at(2026, 12, 6 + line++ / 2, 0, 0, 0).toMSecsSinceEpoch(); },
                  kChina);
    RunLog run(log, QString());
    for (int day = 6; day <= 9; ++day) {
        run.write(LogLine().text(u"x"));
        run.write(LogLine().text(u"y"));
    }
    run.flush();
    EXPECT_EQ(TempDir::read(dir.file("logs/log20261206.txt")), "torn\r\nx2026/12/6\r\ny2026/12/6\r\n");
    EXPECT_EQ(TempDir::read(dir.file("logs/log20261207.txt")), "torn\r\nx2026/12/7\r\ny2026/12/7\r\n");
    EXPECT_EQ(TempDir::read(dir.file("logs/log20261208.txt")), "whole\r\nx2026/12/8\r\ny2026/12/8\r\n");
    EXPECT_EQ(TempDir::read(dir.file("logs/log20261209.txt")), "x2026/12/9\r\ny2026/12/9\r\n");
}

// A Failure whose original words hold `part`.
auto failsWithOriginal(const std::string& part) {
    return ::testing::Throws<velloran::platform::Failure>(::testing::ResultOf(
        [](const velloran::platform::Failure& failure) { return std::string(failure.original()); }, HasSubstr(part)));
}

TEST(ExportLog, AFailedWriteNamesTheFileAndTheReasonAndItsHalfLineIsEndedNextTime) {
    TempDir dir;
    const Clock midnight = [] { return at(2026, 12, 6, 0, 0, 0).toMSecsSinceEpoch(); };
    dir.write("blocked", "a file where the folder should be");
    const std::string blockedFile = dir.file("blocked/logs/log20261206.txt");
    const ExportLog blocked(folderOf(dir, "blocked/logs"), midnight, kChina);
    EXPECT_THAT([&] { RunLog(blocked, QString()).write(LogLine().text(u"x")); },
                failsWithOriginal(blockedFile + ": Not a directory"));

    std::filesystem::create_directories(dir.path() / "full");
    std::filesystem::create_symlink("/dev/full", dir.path() / "full/log20261206.txt");
    const ExportLog full(folderOf(dir, "full"), midnight, kChina);
    EXPECT_THAT(
        [&] {
            RunLog run(full, QString());
            run.write(LogLine().text(u"x"));
            run.flush();
        },
        failsWithOriginal("full/log20261206.txt: No space left on device"));

    const ExportLog log(folderOf(dir, "logs"), midnight, kChina);
    RunLog run(log, QString());
    run.write(LogLine().text(u"first"));
    run.flush();
    run.write(LogLine().text(u"second"));
    {
        const FileSizeLimit limit(20);
        EXPECT_THAT([&] { run.flush(); }, failsWithOriginal("log20261206.txt: File too large"));
    }
    run.flush();  // the lines that failed are not written twice
    run.write(LogLine().text(u"third"));
    run.flush();
    EXPECT_EQ(TempDir::read(dir.file("logs/log20261206.txt")), "first2026/12/6\r\nseco\r\nthird2026/12/6\r\n");
}

// A run's log that keeps going counts the lines a failed write dropped, keeps
// the first reason, and writes the lines after it.
TEST(ExportLog, ALogThatKeepsGoingCountsTheLinesItLost) {
    TempDir dir;
    const ExportLog log(folderOf(dir, "logs"), [] { return at(2026, 12, 6, 0, 0, 0).toMSecsSinceEpoch(); }, kChina);
    RunLog run(log, QString());
    run.keepGoingOnFailure();
    run.write(LogLine().text(u"first"));
    run.flush();
    run.write(LogLine().text(u"second"));
    run.write(LogLine().text(u"third"));
    {
        const FileSizeLimit limit(20);
        EXPECT_NO_THROW(run.flush());
    }
    run.write(LogLine().text(u"fourth"));
    run.flush();
    EXPECT_EQ(run.lostLines(), 2);
    EXPECT_THAT(run.firstLoss().toStdString(), HasSubstr("（原因：文件太大）"));
    EXPECT_THAT(TempDir::read(dir.file("logs/log20261206.txt")), ::testing::EndsWith("fourth2026/12/6\r\n"));

    // A day's file that cannot be opened loses each line as it comes.
    dir.write("blocked", "a file where the folder should be");
    const ExportLog blocked(folderOf(dir, "blocked/logs"), [] { return at(2026, 12, 6, 0, 0, 0).toMSecsSinceEpoch(); },
                            kChina);
    RunLog unopened(blocked, QString());
    unopened.keepGoingOnFailure();
    unopened.write(LogLine().text(u"first"));
    unopened.write(LogLine().text(u"second"));
    EXPECT_NO_THROW(unopened.flush());
    EXPECT_EQ(unopened.lostLines(), 2);
    EXPECT_THAT(unopened.firstLoss().toStdString(), HasSubstr("（原因：路径中有一段不是文件夹）"));
}
