// The batch tool against the same database as the window's command: the
// same workbook, attachment tree and log lines; a failure gives a message
// and a non-zero exit status.
#include "ExportFixture.h"
#include "ToolProcess.h"

#include "component/ComponentRuntime.h"
#include "text/Gb18030.h"

#include <QRegularExpression>

#include <gmock/gmock.h>

#include <filesystem>

using namespace velloran;
using namespace velloran::testing;
using nlohmann::json;

namespace {

ToolRun runTool(const std::string& hive, const std::vector<std::string>& args) {
    return runProcess(std::string("LC_ALL=C VELLORAN_REGISTRY=").append(shellQuoted(hive)), VELLORAN_EXPORT_TOOL, args);
}

std::vector<std::string> relativeFiles(const std::filesystem::path& folder) {
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) found.push_back(std::filesystem::relative(entry.path(), folder).string());
    std::sort(found.begin(), found.end());
    return found;
}

json sample() {
    return json::parse(R"json({
      "views": [ {"name": "V"} ],
      "documents": [
        {"unid": "000000000000000000000000000000A1", "items": [ {"name": "Form", "value": "a"} ]},
        {"unid": "000000000000000000000000000000A2", "items": [ {"name": "Form", "value": "b"},
           {"name": "Body", "type": "richtext", "paragraphs": [["x", {"object": "o.txt"}]],
            "objects": [{"name": "o.txt", "base64": "bw=="}]} ],
         "attachments": [ {"name": "a.doc", "base64": "YQ=="} ]} ]})json");
}

}  // namespace

class BatchToolTest : public ExportFixture {
protected:
    void SetUp() override {
        registerSpreadsheet();
        openDatabase(sample(), QStringLiteral("V"));
    }
};

TEST_F(BatchToolTest, ProducesWhatTheWindowProduces) {
    std::filesystem::create_directories(dir.path() / "window");
    std::filesystem::create_directories(dir.path() / "tool");
    state.ExportStart = QStringLiteral("1");
    ASSERT_TRUE(exportTo(QString::fromStdString(dir.file("window/导出.xls"))).completed());
    const ToolRun run = runTool(hive, {"--database", dir.file("data.nsf"), "--view", "V", "--out", dir.file("tool/导出.xls"),
                                       "--log-folder", dir.file("tool-logs")});
    ASSERT_EQ(run.status, 0) << run.output;

    const std::string workbook = "导出_开始为第1个文档.xls";
    EXPECT_EQ(sheet(QString::fromStdString(dir.file("tool/" + workbook))),
              sheet(QString::fromStdString(dir.file("window/" + workbook))));
    EXPECT_EQ(relativeFiles(dir.path() / "tool"), relativeFiles(dir.path() / "window"));
    EXPECT_EQ(relativeFiles(dir.path() / "tool").size(), 2u) << "the workbook and the attachment";

    const std::vector<std::filesystem::path> toolLogs = {std::filesystem::directory_iterator(dir.path() / "tool-logs"), {}};
    ASSERT_EQ(toolLogs.size(), 1u);
    QString toolLog = platform::fromGb18030(QByteArray::fromStdString(TempDir::read(toolLogs[0].string())));
    toolLog.replace(QRegularExpression(QStringLiteral("\\d{1,2} \\w{3} \\d{4}( \\d\\d:\\d\\d:\\d\\d)?\r\n")), QStringLiteral("|"));
    toolLog.replace(QString::fromStdString(dir.file("tool/")), QString::fromStdString(dir.file("window/")));
    EXPECT_EQ(toolLog.split(QLatin1Char('|'), Qt::SkipEmptyParts), logLines());

    EXPECT_THAT(run.output, ::testing::HasSubstr("workbook:    " + dir.file("tool/" + workbook)));
    EXPECT_THAT(run.output, ::testing::HasSubstr("attachments: " + dir.file("tool/V附件")));
    EXPECT_THAT(run.output, ::testing::HasSubstr("log:         " + toolLogs[0].string()));
    EXPECT_THAT(run.output, ::testing::HasSubstr("100% 正在导出数据到导出_开始为第1个文档.xls...2/2"));
}

TEST_F(BatchToolTest, FailuresGiveAMessageAndANonZeroStatus) {
    const std::string database = dir.file("data.nsf");
    ToolRun beyond = runTool(hive, {"--database", database, "--view", "V", "--out", dir.file("b"), "--start", "3",
                                    "--log-folder", dir.file("logs")});
    EXPECT_EQ(beyond.status, 1);
    EXPECT_EQ(beyond.output, "当前没有可导出的内容\n");

    ToolRun noView = runTool(hive, {"--database", database, "--view", "Nope", "--out", dir.file("b")});
    EXPECT_EQ(noView.status, 1);
    // The message for the user, and before it the engine's English original
    // on the diagnostics channel.
    EXPECT_THAT(noView.output, ::testing::HasSubstr("velloran-export: error: "));
    EXPECT_THAT(noView.output, ::testing::HasSubstr("has no view named 'Nope'"));

    ToolRun noFolder = runTool(hive, {"--database", database, "--view", "V", "--out", dir.file("missing/b.xls")});
    EXPECT_EQ(noFolder.status, 1);
    EXPECT_THAT(noFolder.output, ::testing::HasSubstr("does not exist"));

    ToolRun passwordOnTheLine = runTool(hive, {"--database", database, "--view", "V", "--out", dir.file("b"), "--password", "x"});
    EXPECT_EQ(passwordOnTheLine.status, 1);
    EXPECT_THAT(passwordOnTheLine.output, ::testing::HasSubstr("unknown option --password"));

    const std::string notesOnly = dir.file("notes-only.reg");
    platform::ComponentRuntime(notesOnly).registerServer(VELLORAN_NOTES_MODULE);
    ToolRun noSpreadsheet = runTool(notesOnly, {"--database", database, "--view", "V", "--out",
                                                                  dir.file("b"), "--log-folder", dir.file("logs")});
    EXPECT_EQ(noSpreadsheet.status, 1);
    EXPECT_THAT(noSpreadsheet.output, ::testing::HasSubstr("请确认您电脑上是否安装了EXCEL！"));
    EXPECT_THAT(noSpreadsheet.output, ::testing::HasSubstr("the spreadsheet application did not start: "))
        << "the reason behind the message reaches standard error";
}

TEST_F(BatchToolTest, ARunThatLosesAnythingSaysWhatAndEndsWithStatusOne) {
    const std::string database = dir.file("data.nsf");
    state.CurrentDatabase.reset();  // the tool alone has it open
    // A view index that counts more documents than it holds.
    const auto setCount = [&](int count) {
        const std::string update = "update views set entry_count=" + std::to_string(count) + " where name='V'";
        return std::system(("sqlite3 " + shellQuoted(database) + " " + shellQuoted(update)).c_str());
    };
    ASSERT_EQ(setCount(7), 0);
    const ToolRun damaged = runTool(hive, {"--database", database, "--view", "V", "--out", dir.file("d"), "--log-folder",
                                           dir.file("logs")});
    EXPECT_EQ(damaged.status, 1);
    EXPECT_THAT(damaged.output, ::testing::HasSubstr("连接文档出错:"));
    const json rows = sheet(QString::fromStdString(dir.file("d_开始为第1个文档.xls")));
    EXPECT_EQ(rows["rows"], 3) << "the header and each document once";

    // A file where the attachment folder should be.
    ASSERT_EQ(setCount(2), 0);
    dir.write("lost/V附件", "in the way");
    const ToolRun lost = runTool(hive, {"--database", database, "--view", "V", "--out", dir.file("lost/e"), "--log-folder",
                                        dir.file("logs")});
    EXPECT_EQ(lost.status, 1);
    EXPECT_THAT(lost.output, ::testing::HasSubstr("数据导出结束，但有内容未能导出：1个附件、0个RichText对象、0个单元格。"));
    EXPECT_THAT(lost.output, ::testing::HasSubstr("workbook:    " + dir.file("lost/e_开始为第1个文档.xls")));
}
