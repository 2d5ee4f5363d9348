// The run's log, gathered per document and written into the day's file held
// open, holds the very bytes of a log appended line by line (the file
// opened, written and closed for each line): over midnight, into files
// left torn, and with the day's file removed or renamed away between
// documents.
#include "TempDir.h"

#include "log/ExportLog.h"
#include "log/LogLines.h"
#include "log/RunLog.h"
#include "text/Gb18030.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <filesystem>
#include <functional>
#include <map>

using namespace velloran::exporting;
using velloran::testing::TempDir;

namespace {

const QLocale kChina(QLocale::Chinese, QLocale::China);
const std::string kDay6 = "log20261206.txt";
const std::string kDay7 = "log20261207.txt";

// The log as it was appended before: every line opens the day's file,
// ends a torn last line the first time a file is seen, writes and closes.
class LineByLineLog {
public:
    explicit LineByLineLog(const ExportLog& log) : log_(log) {}

    void write(const LogLine& line) {
        const QDateTime moment = log_.now();
        const QString name = log_.fileFor(moment.date());
        QByteArray bytes = velloran::platform::toGb18030(line.toString() + log_.LogStamp(moment)) + "\r\n";
        if (name != seen_) bytes.prepend(missingLineEnd(name));
        seen_ = name;
        QDir().mkpath(log_.folder());
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::Append));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

private:
    static QByteArray missingLineEnd(const QString& name) {
        QFile file(name);
        if (!file.open(QIODevice::ReadOnly)) return {};
        const QByteArray text = file.readAll();
        if (text.isEmpty() || text.endsWith("\r\n")) return {};
        return text.endsWith('\r') ? "\n" : "\r\n";
    }

    const ExportLog& log_;
    QString seen_;
};

// Each regular file of the folder with its bytes.
std::map<std::string, std::string> filesIn(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        files[entry.path().filename().string()] = TempDir::read(entry.path().string());
    return files;
}

// The lines of document n, with names and values that must survive the
// encoding as they are: control characters, line breaks, a character
// outside GBK and surrogates that pair with nothing.
// Each line is made where it is written, as the export makes it: a line
// refers to the texts it is made from.
std::vector<std::function<LogLine()>> documentLines(int n, const QString& name, const QString& value) {
    const QString path = QStringLiteral("/out/V附件/") + name;
    return {
        [=] { return lines::documentStarted(n); },
        [=] { return lines::hasAttachments(n); },
        [=] { return lines::attachmentFound(n, 1, name); },
        [=] { return lines::attachmentSaved(n, 1, path); },
        [=] { return lines::itemStarted(n); },
        [=] { return lines::itemValue(value); },
        [=] { return lines::cellWritten(); },
        [=] { return lines::documentStepFailed(n, name, QStringLiteral("磁盘已满\n(ENOSPC)")); },
    };
}

}  // namespace

TEST(LogIdentity, DocumentsWrittenTogetherGiveTheBytesOfLinesAppendedOneByOne) {
    TempDir dir;
    for (const char* folder : {"gathered/", "byline/"}) {
        dir.write(folder + kDay6, "torn");
        dir.write(folder + kDay7, "half\r");
    }
    // 250 ms a line from 23:59:58.500: the seventh line falls on midnight.
    qint64 now = QDateTime(QDate(2026, 12, 6), QTime(23, 59, 58, 500)).toMSecsSinceEpoch();
    const Clock clock = [&] { return now; };
    const ExportLog gatheredLog(QString::fromStdString(dir.file("gathered")), clock, kChina);
    const ExportLog byLineLog(QString::fromStdString(dir.file("byline")), clock, kChina);
    const RunLog run(gatheredLog, QStringLiteral("/opt/velloran/"));
    LineByLineLog byLine(byLineLog);

    // Odd documents have lines with surrogates, even ones lines without.
    const QString names[] = {QStringLiteral("报价\r\n单\t\x01\x7f") + QChar(0xD800) + QStringLiteral("x😀.pdf"),
                             QStringLiteral("报价\r\n单\t\x01\x7fÀ.pdf")};
    const QString values[] = {QStringLiteral("第一行\r\n第二行\r第三行\n") + QChar(0xDC00) + QStringLiteral("€"),
                              QStringLiteral("第一行\r\n第二行\r第三行\n€\u0080")};
    for (int n = 1; n <= 6; ++n) {
        for (const auto& line : documentLines(n, names[n % 2], values[n % 2])) {
            run.write(line());
            byLine.write(line());
            now += 250;
        }
        run.flush();
        // What someone else does to the day's file between two documents.
        for (const char* folder : {"gathered/", "byline/"}) {
            if (n == 3) std::filesystem::remove(dir.file(folder + kDay7));
            if (n == 4) std::filesystem::rename(dir.file(folder + kDay7), dir.file(folder + std::string("moved.txt")));
        }
    }

    const auto gathered = filesIn(dir.path() / "gathered");
    EXPECT_EQ(gathered, filesIn(dir.path() / "byline"));
    ASSERT_EQ(gathered.size(), 3u);
    EXPECT_EQ(gathered.at(kDay6).rfind("torn\r\n", 0), 0u) << "the torn line is ended before the first new one";
    EXPECT_NE(gathered.at(kDay7).find(velloran::platform::toGb18030(QStringLiteral("\r\n第三行\r\n")).toStdString()),
              std::string::npos);
    EXPECT_NE(gathered.at("moved.txt").find(velloran::platform::toGb18030(QStringLiteral("第4个")).toStdString()),
              std::string::npos);
}
