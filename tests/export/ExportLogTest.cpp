// The daily log file: naming, encoding, line ends, the folder it lands in,
// the stamp under several locales, names and values that could break a
// line, a run over midnight, a torn last line, and writes that fail.
#include "QStringPrinter.h"
#include "TempDir.h"

#include "log/ExportLog.h"
#include "log/LogLines.h"
#include "log/RunLog.h"
#include "log/TimeFormat.h"
#include "text/Gb18030.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>

using namespace velloran::exporting;
using velloran::testing::TempDir;
using ::testing::HasSubstr;
using ::testing::ThrowsMessage;

namespace {

const QLocale kChina(QLocale::Chinese, QLocale::China);

QDateTime at(int year, int month, int day, int hour, int minute, int second, int msec = 0) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second, msec));
}

QString folderOf(const TempDir& dir, const char* name) { return QString::fromStdString(dir.file(name)); }

// Lets this process write files no larger than `bytes`, as a full disk
// would; a write that reaches the limit is cut short.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) : previousHandler_(std::signal(SIGXFSZ, SIG_IGN)) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit lowered = saved_;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit saved_{};
    void (*previousHandler_)(int);
};

}  // namespace

TEST(ExportLog, AppendsGb18030LinesWithCrLfToTheFileNamedByThePathsLastPart) {
    TempDir dir;
    ExportLog log(folderOf(dir, "logs/nested"), [] { return qint64(0); }, kChina);
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
    ExportLog log(QStringLiteral("/tmp"), Clock(), kChina);
    EXPECT_EQ(log.LogStamp(at(2026, 12, 6, 9, 5, 3)), QStringLiteral("2026/12/6 09:05:03"));
    EXPECT_EQ(log.LogStamp(at(2026, 12, 6, 0, 0, 0)), QStringLiteral("2026/12/6"));
    EXPECT_EQ(log.LogStamp(at(2026, 12, 6, 0, 0, 0, 1)), QStringLiteral("2026/12/6 00:00:00"));
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
    const QString name = QStringLiteral("a\r\n2026/12/6 09:05:03\tb\x01\x1f\x7f\\c");
    const QString written = QStringLiteral("a\\r\\n2026/12/6 09:05:03\\tb\\x01\\x1F\\x7F\\c");
    EXPECT_EQ(lines::attachmentFound(1, 2, name), QStringLiteral("获取第1个文档第2个附件:") + written + ";");
    EXPECT_EQ(lines::documentStepFailed(3, name, QStringLiteral("disk\nfull")),
              QStringLiteral("导出第3个文档出错:") + written + QStringLiteral(",disk\\nfull;"));
    const QString everyOther[] = {
        lines::exportStarted(name, name), lines::attachmentSaved(1, 1, name), lines::pictureStarted(name),
        lines::pictureFinished(name), lines::richTextObjectSaved(1, name),
    };
    for (const QString& line : everyOther) {
        EXPECT_TRUE(line.contains(written)) << line.toStdString();
        EXPECT_FALSE(line.contains(QLatin1Char('\n')) || line.contains(QLatin1Char('\r'))) << line.toStdString();
    }
}

TEST(ExportLog, ValuesKeepTheirLineBreaksEachAsCrLf) {
    EXPECT_EQ(lines::itemValue(QStringLiteral("a\nb\rc\r\nd\n\re\r\r\n")),
              QStringLiteral("  s=s+a\r\nb\r\nc\r\nd\r\n\r\ne\r\n\r\n;"));
    EXPECT_EQ(lines::itemValue(QStringLiteral("\tx\\")), QStringLiteral("  s=s+\tx\\;"));
}

TEST(ExportLog, ARunOverMidnightStampsOnlyTheExactMidnightWithoutTime) {
    TempDir dir;
    std::vector<QDateTime> moments = {at(2026, 12, 6, 23, 59, 59, 999), at(2026, 12, 7, 0, 0, 0),
                                      at(2026, 12, 7, 0, 0, 0, 400), at(2026, 12, 7, 0, 0, 1)};
    std::size_t next = 0;
    ExportLog log(folderOf(dir, "logs"), [&] { return moments.at(next++).toMSecsSinceEpoch(); }, kChina);
    RunLog run(log, QStringLiteral("/opt/velloran/"));
    for (const char* line : {"a;", "b;", "c;", "d;"}) run.write(QString::fromLatin1(line));

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
    ExportLog log(folderOf(dir, "logs"));
    for (const char* day : {"6", "7", "8", "9"}) {
        const QString file = QStringLiteral("log2026120%1.txt").arg(QLatin1String(day));
        log.AppendLogLine(file, QStringLiteral("x"));
        log.AppendLogLine(file, QStringLiteral("y"));
    }
    EXPECT_EQ(TempDir::read(dir.file("logs/log20261206.txt")), "torn\r\nx\r\ny\r\n");
    EXPECT_EQ(TempDir::read(dir.file("logs/log20261207.txt")), "torn\r\nx\r\ny\r\n");
    EXPECT_EQ(TempDir::read(dir.file("logs/log20261208.txt")), "whole\r\nx\r\ny\r\n");
    EXPECT_EQ(TempDir::read(dir.file("logs/log20261209.txt")), "x\r\ny\r\n");
}

TEST(ExportLog, AFailedWriteNamesTheFileAndTheReasonAndItsHalfLineIsEndedNextTime) {
    TempDir dir;
    dir.write("blocked", "a file where the folder should be");
    const std::string blockedFile = dir.file("blocked/logs/log20261206.txt");
    EXPECT_THAT([&] { ExportLog(folderOf(dir, "blocked/logs")).AppendLogLine(QStringLiteral("log20261206.txt"), "x"); },
                ThrowsMessage<ExportLogError>(HasSubstr(blockedFile + ": Not a directory")));

    std::filesystem::create_directories(dir.path() / "full");
    std::filesystem::create_symlink("/dev/full", dir.path() / "full/log20261206.txt");
    EXPECT_THAT([&] { ExportLog(folderOf(dir, "full")).AppendLogLine(QStringLiteral("log20261206.txt"), "x"); },
                ThrowsMessage<ExportLogError>(HasSubstr("log20261206.txt: No space left on device")));

    ExportLog log(folderOf(dir, "logs"));
    log.AppendLogLine(QStringLiteral("log20261206.txt"), QStringLiteral("first"));
    {
        const FileSizeLimit limit(10);
        EXPECT_THAT([&] { log.AppendLogLine(QStringLiteral("log20261206.txt"), QStringLiteral("second")); },
                    ThrowsMessage<ExportLogError>(HasSubstr("log20261206.txt: File too large")));
    }
    log.AppendLogLine(QStringLiteral("log20261206.txt"), QStringLiteral("third"));
    EXPECT_EQ(TempDir::read(dir.file("logs/log20261206.txt")), "first\r\nsec\r\nthird\r\n");
}
