// The floors are a fair measure only while they repeat the export's own
// work: the same workbook, the same attachment files and the same log,
// line for line.
#include "EngineFloor.h"
#include "LogFloor.h"
#include "TestInstallation.h"
#include "WindowExport.h"
#include "WorkbookFloor.h"

#include "generate/Generator.h"
#include "text/Gb18030.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace fs = std::filesystem;
namespace bench = velloran::bench;
using velloran::testing::TempDir;

namespace {

using Files = std::map<std::string, std::string>;

// Every file under `root`, by its path inside it, with its bytes.
Files filesUnder(const fs::path& root) {
    Files files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file()) files[fs::relative(entry.path(), root).string()] = TempDir::read(entry.path().string());
    return files;
}

qint64 linesIn(const Files& logs) {
    qint64 lines = 0;
    for (const auto& [name, bytes] : logs)
        for (std::size_t at = bytes.find("\r\n"); at != std::string::npos; at = bytes.find("\r\n", at + 2)) ++lines;
    return lines;
}

QString text(const std::string& utf8) { return QString::fromStdString(utf8); }

std::string gb18030(const QString& line) { return velloran::platform::toGb18030(line).toStdString(); }

class ExportFloorsTest : public ::testing::Test {
protected:
    ExportFloorsTest() : database_(installation_.dataFolder() + "/floors.nsf") {
        velloran::tools::GenerateOptions options;
        options.documents = 7;
        options.items = 4;
        options.attachmentSize = 3000;
        options.attachmentEvery = 3;
        velloran::tools::generateDatabase(database_, options);
        fs::create_directories(out("window"));
    }

    std::string out(const std::string& relative) const { return installation_.file("out/" + relative); }

    velloran::testing::TestInstallation installation_;
    std::string database_;
};

TEST_F(ExportFloorsTest, TheFloorsRepeatTheWorkOfTheWindowsExport) {
    const bench::WindowExportResult exported = bench::exportThroughWindow(
        {installation_.hivePath(), text(database_), QStringLiteral("All"), text(out("window/w.xls")),
         text(out("exe/")), text(out("window/log"))});
    ASSERT_TRUE(exported.completed) << exported.messages.join(QStringLiteral(" | ")).toStdString();
    EXPECT_EQ(exported.documents, 7);

    bench::EngineFloor engine(installation_.hivePath(), text(database_));
    const bench::EngineWalk walk = engine.walk(QStringLiteral("All"), text(out("floors/attachments/")));
    EXPECT_EQ(walk.documents, 7);
    EXPECT_EQ(walk.attachments, 3);
    // The first document's attachment item is a column of its own, empty
    // in the documents without one.
    ASSERT_EQ(walk.headerNames.size(), 5);
    EXPECT_EQ(bench::writeWorkbook(installation_.hivePath(), walk, text(out("floors/floor.xls"))), 6 + 7 * 6);
    const bench::LogReplay replay = bench::replayLog(text(out("window/log")), text(out("floors/log")));

    EXPECT_EQ(TempDir::read(out("floors/floor.xls")), TempDir::read(out("window/w_开始为第1个文档.xls")));
    EXPECT_EQ(filesUnder(out("floors/attachments")), filesUnder(out("window/All附件")));
    const Files recordedLog = filesUnder(out("window/log"));
    EXPECT_EQ(filesUnder(out("floors/log")), recordedLog);
    EXPECT_EQ(replay.lines, linesIn(recordedLog));
}

TEST(LogReplayTest, EveryDayFileIsAppendedLineByLineWithLineBreaksInsideALineKept) {
    TempDir dir;
    const std::string firstDay = gb18030(QStringLiteral("  s=s+第一行\n第二行;stamp\r\n s值写入excel表 ;stamp\r\n"));
    dir.write("recorded/log20261231.txt", firstDay);
    dir.write("recorded/log20270101.txt", "line;stamp\r\n");
    dir.write("recorded/notes.txt", "not a log\r\n");

    const bench::LogReplay replay = bench::replayLog(text(dir.file("recorded")), text(dir.file("replayed")));
    EXPECT_EQ(replay.lines, 3);
    EXPECT_EQ(filesUnder(dir.file("replayed")),
              (Files{{"log20261231.txt", firstDay}, {"log20270101.txt", "line;stamp\r\n"}}));
}

TEST(LogReplayTest, AFolderWithoutRecordedLinesIsAnError) {
    TempDir dir;
    dir.write("recorded/log20261231.txt", "");
    EXPECT_THROW(bench::replayLog(text(dir.file("recorded")), text(dir.file("replayed"))), std::runtime_error);
}

}  // namespace
