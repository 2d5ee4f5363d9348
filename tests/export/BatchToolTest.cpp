// The batch tool against the same database as the window's command: the
// same workbook, attachment tree and log lines; a failure gives a message
// and the exit status that tells it apart; --list, the workbook's name and
// an interrupted run.
#include "ExportFixture.h"
#include "LogPipe.h"
#include "ToolProcess.h"

#include "component/ComponentRuntime.h"
#include "generate/Generator.h"
#include "write/DatabaseWriter.h"
#include "nsfjson/JsonDatabase.h"
#include "people/Person.h"
#include "registry/RegistryHive.h"
#include "text/Gb18030.h"

#include <QDate>

#include <QRegularExpression>

#include <gmock/gmock.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <thread>

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
      "views": [ {"name": "V", "aliases": ["Vue"]}, {"name": "($Hidden)"} ],
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

    EXPECT_THAT(run.output, ::testing::HasSubstr("工作簿: " + dir.file("tool/" + workbook)));
    EXPECT_THAT(run.output, ::testing::HasSubstr("附件:   " + dir.file("tool/V附件")));
    EXPECT_THAT(run.output, ::testing::HasSubstr("日志:   " + toolLogs[0].string()));
    EXPECT_THAT(run.output, ::testing::HasSubstr("结果:   已全部导出"));
    EXPECT_THAT(run.output, ::testing::HasSubstr("velloran-export: [##############################] 100% 2/2个文档"));
}

TEST_F(BatchToolTest, FailuresGiveAMessageAndANonZeroStatus) {
    const std::string database = dir.file("data.nsf");
    ToolRun beyond = runTool(hive, {"--database", database, "--view", "V", "--out", dir.file("b"), "--start", "3",
                                    "--log-folder", dir.file("logs")});
    EXPECT_EQ(beyond.status, 1);
    EXPECT_EQ(beyond.output, "velloran-export: 错误: --start 3 超出范围：视图只有 2 个文档\n");

    // Standard error speaks Chinese only: the engine's English original is
    // shown with --verbose. It says nothing the Chinese text does not, so
    // without --verbose nothing is said to be hidden.
    ToolRun noView = runTool(hive, {"--database", database, "--view", "Nope", "--out", dir.file("b")});
    EXPECT_EQ(noView.status, 1);
    EXPECT_EQ(noView.output, "velloran-export: 错误: 数据库 " + database + " 中没有名为“Nope”的视图\n"
                             "velloran-export: 用 --list 列出数据库中的视图\n");
    ToolRun verbose = runTool(hive, {"--database", database, "--view", "Nope", "--out", dir.file("b"), "--verbose"});
    EXPECT_EQ(verbose.status, 1);
    EXPECT_EQ(verbose.output, "velloran-export: 错误: 数据库 " + database + " 中没有名为“Nope”的视图\n"
                              "velloran-export: 用 --list 列出数据库中的视图\n"
                              "velloran-export: 详细信息：The database " + database + " has no view named 'Nope'\n");

    ToolRun noFolder = runTool(hive, {"--database", database, "--view", "V", "--out", dir.file("missing/b.xls")});
    EXPECT_EQ(noFolder.status, 1);
    EXPECT_THAT(noFolder.output, ::testing::HasSubstr("不存在"));

    ToolRun passwordOnTheLine = runTool(hive, {"--database", database, "--view", "V", "--out", dir.file("b"), "--password", "x"});
    EXPECT_EQ(passwordOnTheLine.status, 2);
    EXPECT_THAT(passwordOnTheLine.output, ::testing::HasSubstr("velloran-export: 错误: 未知的选项 --password"));

    const std::string notesOnly = dir.file("notes-only.reg");
    platform::ComponentRuntime(notesOnly).registerServer(VELLORAN_NOTES_MODULE);
    ToolRun noSpreadsheet = runTool(notesOnly, {"--database", database, "--view", "V", "--out",
                                                                  dir.file("b"), "--log-folder", dir.file("logs")});
    EXPECT_EQ(noSpreadsheet.status, 1);
    EXPECT_THAT(noSpreadsheet.output, ::testing::HasSubstr("请确认您电脑上是否安装了EXCEL！"));
    EXPECT_THAT(noSpreadsheet.output, ::testing::HasSubstr("有 1 条诊断信息未显示"))
        << "the reason behind the message is counted, not dropped";
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
    EXPECT_THAT(lost.output, ::testing::HasSubstr("工作簿: " + dir.file("lost/e_开始为第1个文档.xls")));
    EXPECT_THAT(lost.output, ::testing::HasSubstr("结果:   未全部导出: 1个附件、0个RichText对象、0个单元格未能导出"));
}

TEST_F(BatchToolTest, UsageErrorsEndWithStatusTwoAndOptionsTakeTheirValueAfterAnEqualsSign) {
    const std::string database = dir.file("data.nsf");
    const auto usage = [&](std::vector<std::string> args, const std::string& complaint) {
        const ToolRun run = runTool(hive, args);
        EXPECT_EQ(run.status, 2) << run.output;
        EXPECT_THAT(run.output, ::testing::StartsWith("velloran-export: 错误: "));
        EXPECT_THAT(run.output, ::testing::HasSubstr(complaint));
    };
    usage({"--database", database, "--view", "V"}, "缺少选项 --out");
    usage({"--database", database, "--view", "V", "--out", dir.file("b"), "--quiet=yes"}, "选项 --quiet 不带值");
    usage({"--database", database, "--view", "V", "--out", dir.file("b"), "--start", "abc"}, "--start 需要一个不小于1的整数");
    usage({"--database", database, "--view", "V", "--out", dir.file("b"), "extra"}, "多余的参数 'extra'");
    usage({"--database", database, "--view", "V", "--out", dir.file("b"), "--user", "u"}, "--user 和 --password-file 只能与 --server");
    usage({"--list"}, "--list 需要 --database 或 --server");
    // A folder is no workbook name: neither one that exists nor one the
    // name ends in "/" for.
    usage({"--database", database, "--view", "V", "--out", dir.file("out")}, "是一个目录");
    usage({"--database", database, "--view", "V", "--out", dir.file("new/")}, "是一个目录");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "out" / "_开始为第1个文档.xls"));

    const ToolRun equals = runTool(hive, {"--database=" + database, "--view=V", "--out=" + dir.file("out/eq"),
                                          "--log-folder=" + dir.file("logs"), "--quiet"});
    EXPECT_EQ(equals.status, 0) << equals.output;
    EXPECT_TRUE(std::filesystem::exists(dir.file("out/eq_开始为第1个文档.xls")));
    EXPECT_THAT(equals.output, ::testing::Not(::testing::HasSubstr("[#")));

    const ToolRun version = runTool(hive, {"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_THAT(version.output, ::testing::MatchesRegex("velloran-export [0-9]+\\.[0-9]+(\\.[0-9]+)*\n"));
}

TEST_F(BatchToolTest, FormatSetsTheWorkbooksEndingAndColumnsChoosesItemsOrTheViewsColumns) {
    const std::string database = dir.file("columns.nsf");
    tools::buildFromJson(json::parse(R"json({
      "views": [ {"name": "C", "columns": [ {"title": "Form", "formula": "Form"},
                                            {"title": "Len", "formula": "@Length(Form) * 10"} ]} ],
      "documents": [ {"items": [ {"name": "Form", "value": "abc"}, {"name": "Other", "value": "x"} ]} ]})json"),
                         dir.path().string(), database);
    const auto exported = [&](std::vector<std::string> more) {
        std::vector<std::string> args = {"--database", database, "--view", "C", "--log-folder", dir.file("logs"), "--quiet"};
        args.insert(args.end(), more.begin(), more.end());
        const ToolRun run = runTool(hive, args);
        EXPECT_EQ(run.status, 0) << run.output;
        return run;
    };
    exported({"--out", dir.file("out/view.xls"), "--columns", "view"});
    const json view = sheet(QString::fromStdString(dir.file("out/view_开始为第1个文档.xls")));
    EXPECT_EQ(view["rows"], 2);
    EXPECT_EQ(view["cells"][1][2], "Form");
    EXPECT_EQ(view["cells"][2][2], "Len");
    EXPECT_EQ(view["cells"][5][2], "30") << "the column's value, not an item";
    exported({"--out", dir.file("out/typed.xls"), "--columns", "view", "--typed"});
    EXPECT_EQ(sheet(QString::fromStdString(dir.file("out/typed_开始为第1个文档.xls")))["cells"][5][2], 30.0)
        << "--typed: a number the spreadsheet can sum";
    exported({"--out", dir.file("out/items.xls"), "--columns=items"});
    EXPECT_EQ(sheet(QString::fromStdString(dir.file("out/items_开始为第1个文档.xls")))["cells"][2][2], "Other");

    exported({"--out", dir.file("out/f"), "--format", "xlsx"});
    exported({"--out", dir.file("out/g.CSV")});
    exported({"--out", dir.file("out/h.xlsx"), "--format=xls"});
    exported({"--out", dir.file("out/e"), "--format", "xls", "--exact-name"});
    EXPECT_THAT(relativeFiles(dir.path() / "out"),
                ::testing::IsSupersetOf({"f_开始为第1个文档.xlsx", "g_开始为第1个文档.csv", "h.xlsx_开始为第1个文档.xls", "e"}));

    const auto refused = [&](std::vector<std::string> args, const std::string& complaint) {
        const ToolRun run = runTool(hive, args);
        EXPECT_EQ(run.status, 2) << run.output;
        EXPECT_THAT(run.output, ::testing::HasSubstr(complaint));
    };
    const std::vector<std::string> base = {"--database", database, "--view", "C"};
    const auto with = [&](std::vector<std::string> more) {
        std::vector<std::string> args = base;
        args.insert(args.end(), more.begin(), more.end());
        return args;
    };
    refused(with({"--out", dir.file("out/x"), "--format", "XLSX"}), "--format 只能是 xls、xlsx 或 csv，而不是 'XLSX'");
    refused(with({"--out", dir.file("out/x"), "--columns", "all"}), "--columns 只能是 items 或 view，而不是 'all'");
    refused(with({"--out", dir.file("out/x"), "--columns"}), "选项 --columns 需要一个值");
    refused(with({"--out", dir.file("out/x.xls"), "--format", "xlsx", "--exact-name"}),
            "'" + dir.file("out/x.xls") + "' 的扩展名与 --format xlsx 不符（应以 .xlsx 结尾）");
    refused(with({"--out", dir.file("out/x"), "--format", "csv", "--exact-name"}), "不符（应以 .csv 结尾）");
    refused({"--list", "--database", database, "--format", "csv"}, "选项 --format 不能与 --list 一起使用");
    refused({"--list", "--database", database, "--columns", "view"}, "选项 --columns 不能与 --list 一起使用");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "out" / "x"));
}

TEST_F(BatchToolTest, ListsTheViewsAndNamesTheNearOnesForAWrongName) {
    const std::string database = dir.file("data.nsf");
    const ToolRun views = runTool(hive, {"--list", "--database", database});
    EXPECT_EQ(views.status, 0);
    EXPECT_EQ(views.output, "V\tVue\t2\n") << "the hidden view is left out, as in the window";

    const ToolRun wrongView = runTool(hive, {"--database", database, "--view", "vu", "--out", dir.file("out/w")});
    EXPECT_EQ(wrongView.status, 1);
    EXPECT_THAT(wrongView.output, ::testing::HasSubstr("velloran-export: 您是不是要找: V、Vue\n"));

    const ToolRun wrongFile = runTool(hive, {"--list", "--database", dir.file("Data.nsf.old")});
    EXPECT_EQ(wrongFile.status, 1);
    EXPECT_THAT(wrongFile.output, ::testing::HasSubstr("velloran-export: 您是不是要找: " + database + "\n"));
}

TEST_F(BatchToolTest, ViewNamesReachTheTerminalWithTheirControlCharactersWrittenOut) {
    const std::string database = dir.file("escapes.nsf");
    tools::buildFromJson(json::parse(R"({"views": [{"name": "Red\u001b]0;owned\u0007", "aliases": ["A\nfake line"]}]})"),
                         dir.path().string(), database);
    const ToolRun views = runTool(hive, {"--list", "--database", database});
    EXPECT_EQ(views.output, "Red\\x1B]0;owned\\x07\tA\\nfake line\t0\n");

    const ToolRun wrongView = runTool(hive, {"--database", database, "--view", "red", "--out", dir.file("out/e")});
    EXPECT_THAT(wrongView.output, ::testing::HasSubstr("velloran-export: 您是不是要找: Red\\x1B]0;owned\\x07\n"));
}

TEST_F(BatchToolTest, ExactNameAndOverwriteDecideWhatHappensToAnExistingFile) {
    const std::string database = dir.file("data.nsf");
    const std::string exact = dir.file("out/c.xls");
    const std::vector<std::string> run = {"--database", database, "--view", "V", "--out", exact, "--exact-name",
                                          "--log-folder", dir.file("logs"), "--quiet"};
    ASSERT_EQ(runTool(hive, run).status, 0);
    EXPECT_THAT(relativeFiles(dir.path() / "out"), ::testing::Contains("c.xls"));
    EXPECT_THAT(relativeFiles(dir.path() / "out"), ::testing::Not(::testing::Contains(::testing::HasSubstr("开始为第"))));
    EXPECT_EQ(sheet(QString::fromStdString(exact))["rows"], 3);

    dir.write("out/c.xls", "last week");
    const ToolRun refused = runTool(hive, run);
    EXPECT_EQ(refused.status, 1);
    EXPECT_THAT(refused.output, ::testing::HasSubstr(exact + "文件已存在!"));
    EXPECT_EQ(TempDir::read(exact), "last week");

    // A run that stops keeps the old file and saves what it wrote beside it.
    state.CurrentDatabase.reset();
    const std::string update = "update views set entry_count=7 where name='V'";
    ASSERT_EQ(std::system(("sqlite3 " + shellQuoted(database) + " " + shellQuoted(update)).c_str()), 0);
    std::vector<std::string> overwrite = run;
    overwrite.push_back("--overwrite");
    const ToolRun failed = runTool(hive, overwrite);
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(TempDir::read(exact), "last week");
    EXPECT_THAT(failed.output, ::testing::HasSubstr("结果:   导出出错"));

    const std::string restore = "update views set entry_count=2 where name='V'";
    ASSERT_EQ(std::system(("sqlite3 " + shellQuoted(database) + " " + shellQuoted(restore)).c_str()), 0);
    const ToolRun replaced = runTool(hive, overwrite);
    EXPECT_EQ(replaced.status, 0) << replaced.output;
    EXPECT_EQ(sheet(QString::fromStdString(exact))["rows"], 3);
}

// What the tool says when it cannot export says what to do about it.
TEST_F(BatchToolTest, ARefusedExportSaysWhatToDo) {
    const std::string database = dir.file("data.nsf");
    {
        // A view kept from another system, with a formula the engine cannot read.
        notes::write::DatabaseWriter writer(dir.file("kept.nsf"));
        ASSERT_TRUE(writer.keepView({"Kept", {}, "SELECT @NoSuchFunction(Form)", {}}).has_value());
        writer.commit();
    }
    dir.write("out/taken_开始为第1个文档.xls", "last week");
    struct Case {
        std::vector<std::string> args;
        std::string said;
    };
    const Case cases[] = {
        {{"--database", database, "--view", "V", "--out", dir.file("out/taken.xls")},
         dir.file("out/taken_开始为第1个文档.xls") + "文件已存在!（加 --overwrite 覆盖）"},
        {{"--database", database, "--view", "V", "--out", dir.file("out/b.xls"), "--start", "5"}, "视图只有 2 个文档"},
        {{"--database", dir.file("kept.nsf"), "--view", "Kept", "--out", dir.file("out/k.xls")},
         "视图“Kept”中没有可导出的文档：它的公式无法求值（视图“Kept”的选择公式: "},
        {{"--database", database, "--view", "Zzzzzz", "--out", dir.file("out/z.xls")}, "用 --list 列出数据库中的视图"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--log-folder", dir.file("logs")});
        const ToolRun run = runTool(hive, args);
        EXPECT_EQ(run.status, 1) << run.output;
        EXPECT_THAT(run.output, ::testing::HasSubstr(c.said));
        EXPECT_THAT(run.output, ::testing::Not(::testing::HasSubstr("当前没有可导出的内容")));
    }
    EXPECT_EQ(TempDir::read(dir.file("out/taken_开始为第1个文档.xls")), "last week");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "logs")) << "nothing was started, so nothing logged";
}

// Ctrl+C during a long run: the log is a pipe the test reads, so the run is
// at a known document when the signal comes, and waits there while the test
// does not read.
class BatchInterruptTest : public BatchToolTest {
protected:
    static constexpr int kDocuments = 3000;

    // Starts the export of a large view into `workbook` and reads its log
    // up to the end of document 100.
    pid_t startAndReadTo100(const std::string& workbook, const std::vector<std::string>& more = {}) {
        tools::GenerateOptions generated;
        generated.documents = kDocuments;
        generated.items = 3;
        tools::generateDatabase(dir.file("big.nsf"), generated);
        std::vector<std::string> args = {"--database", dir.file("big.nsf"), "--view", "All", "--out", workbook,
                                         "--exact-name", "--log-folder", dir.file("pipe-logs"), "--quiet"};
        args.insert(args.end(), more.begin(), more.end());
        const pid_t tool = startProcess("VELLORAN_REGISTRY=" + hive, VELLORAN_EXPORT_TOOL, args, output());
        EXPECT_TRUE(log.readUntil(QStringLiteral("完成向excel写入第100个文档;"), tool)) << TempDir::read(output());
        return tool;
    }
    std::string output() const { return dir.file("output.txt"); }

    const bool folderMade = std::filesystem::create_directories(dir.path() / "pipe-logs");
    LogPipe log{dir.file("pipe-logs/log" + QDate::currentDate().toString(QStringLiteral("yyyyMMdd")).toStdString() + ".txt")};
};

TEST_F(BatchInterruptTest, TheRunSavesWhatItExportedAndSaysWhereItStopped) {
    const std::string workbook = dir.file("out/big.xls");
    const pid_t tool = startAndReadTo100(workbook);
    ::kill(tool, SIGINT);
    EXPECT_EQ(log.readToEnd(tool), 130);

    const QString last = log.lines().last();
    const QRegularExpressionMatch where = QRegularExpression(QStringLiteral("^导出在第(\\d+)个文档前被中断")).match(last);
    ASSERT_TRUE(where.hasMatch()) << last.toStdString();
    const int n = where.captured(1).toInt();
    EXPECT_GT(n, 100);
    EXPECT_LT(n, kDocuments);
    EXPECT_FALSE(log.lines().join(QLatin1Char('\n')).contains(QStringLiteral("完成向excel写入第%1个文档").arg(n)));
    EXPECT_EQ(sheet(QString::fromStdString(workbook))["rows"], n) << "the header and documents 1 to n-1";
    EXPECT_THAT(TempDir::read(output()), ::testing::HasSubstr("结果:   在第" + std::to_string(n) + "个文档处中断，第" +
                                                              std::to_string(n) + "到第3000个文档未导出"));
}

TEST_F(BatchInterruptTest, ASecondOneEndsAtOnceWithoutTouchingTheWorkbook) {
    const std::string workbook = dir.write("out/big.xls", "last week");
    const pid_t tool = startAndReadTo100(workbook, {"--overwrite"});
    // The second signal goes once the first has been taken, so that the
    // two are not merged into one.
    ::kill(tool, SIGINT);
    while (TempDir::read(output()).find("收到中断信号") == std::string::npos) std::this_thread::yield();
    ::kill(tool, SIGINT);
    EXPECT_EQ(log.readToEnd(tool), 130);
    // A save under way leaves its hidden ".velloran-" file, which the next
    // export into the folder removes; nothing else was written.
    std::vector<std::string> files = relativeFiles(dir.path() / "out");
    std::erase_if(files, [](const std::string& name) { return name.starts_with(".velloran-"); });
    EXPECT_EQ(files, std::vector<std::string>{"big.xls"});
    EXPECT_EQ(TempDir::read(workbook), "last week");
}

// --list and a wrong database name against a server's data folder.
TEST(BatchToolServerTest, ListsTheDataFolderAndNamesTheNearDatabasesForAWrongPath) {
    TempDir dir;
    const std::string data = dir.file("Data");
    std::filesystem::create_directories(data + "/apps");
    const std::string hive = dir.file("registry.reg");
    platform::RegistryHive machine;
    machine.setString("\\Software\\Lotus\\Domino", "DataPath", data);
    machine.setString("\\Software\\Lotus\\Domino", "ServerName", "Main/Velloran");
    machine.saveAs(hive);
    platform::ComponentRuntime(hive).registerServer(VELLORAN_NOTES_MODULE);
    tools::addPerson(data + "/names.nsf", {"Tester/Velloran", {}, "pw"}, true);
    tools::buildFromJson(json::parse(R"({"title": "销售", "views": [{"name": "Orders"}], "documents": []})"), data,
                         data + "/apps/sales.nsf");
    const std::string password = dir.write("password", "pw\n");
    const std::vector<std::string> login = {"--server", "Main/Velloran", "--user", "Tester/Velloran",
                                            "--password-file=" + password};

    std::vector<std::string> list = login;
    list.push_back("--list");
    const ToolRun databases = runTool(hive, list);
    EXPECT_EQ(databases.status, 0) << databases.output;
    EXPECT_THAT(databases.output, ::testing::HasSubstr("apps\\sales.nsf\t销售\n"));
    EXPECT_THAT(databases.output, ::testing::HasSubstr("names.nsf\t"));

    list.insert(list.end(), {"--database", "apps\\sale.nsf"});
    const ToolRun wrong = runTool(hive, list);
    EXPECT_EQ(wrong.status, 1);
    EXPECT_THAT(wrong.output, ::testing::HasSubstr("velloran-export: 您是不是要找: apps\\sales.nsf\n"));

    // A wrong server is one error, whatever is asked of it.
    for (std::vector<std::string> args : {std::vector<std::string>{"--list"},
                                          std::vector<std::string>{"--list", "--database", "apps\\sale.nsf"},
                                          std::vector<std::string>{"--database", "apps\\sale.nsf", "--view", "Orders",
                                                                   "--out", dir.file("o.xls")}}) {
        std::vector<std::string> wrongServer = {"--server", "Other/Velloran", "--user", "Tester/Velloran",
                                                "--password-file=" + password};
        wrongServer.insert(wrongServer.end(), args.begin(), args.end());
        const ToolRun refused = runTool(hive, wrongServer);
        EXPECT_EQ(refused.status, 1) << refused.output;
        EXPECT_THAT(refused.output, ::testing::StartsWith("velloran-export: 错误: 服务器“Other/Velloran”未知，本机的服务器是"
                                                          "“Main/Velloran”"));
        EXPECT_THAT(refused.output, ::testing::Not(::testing::HasSubstr("无法打开")));
        EXPECT_THAT(refused.output, ::testing::Not(::testing::HasSubstr("您是不是要找")));
    }

    // A database that is there but damaged is the one meant: no other is named.
    dir.write("Data/apps/sale.nsf", "not a database");
    const ToolRun damaged = runTool(hive, list);
    EXPECT_EQ(damaged.status, 1);
    EXPECT_THAT(damaged.output, ::testing::HasSubstr("不是本系统的文档数据库"));
    EXPECT_THAT(damaged.output, ::testing::Not(::testing::HasSubstr("您是不是要找")));

    // --list names it beside the others, with why it cannot be opened.
    list.resize(login.size() + 1);
    const ToolRun listed = runTool(hive, list);
    EXPECT_EQ(listed.status, 0) << listed.output;
    EXPECT_THAT(listed.output, ::testing::HasSubstr("apps\\sale.nsf\t(无法打开: 文件 " + data +
                                                    "/apps/sale.nsf 不是本系统的文档数据库)\napps\\sales.nsf\t销售\n"));
}

TEST_F(BatchToolTest, OverwriteOverAFolderOfTheWorkbooksNameStopsBeforeTheExport) {
    std::filesystem::create_directories(dir.path() / "out" / "c_开始为第1个文档.xls");
    const ToolRun refused = runTool(hive, {"--database", dir.file("data.nsf"), "--view", "V", "--out", dir.file("out/c.xls"),
                                           "--overwrite", "--log-folder", dir.file("logs")});
    EXPECT_EQ(refused.status, 1);
    EXPECT_THAT(refused.output, ::testing::HasSubstr("：已有同名的目录，导出没有开始"));
    EXPECT_THAT(refused.output, ::testing::HasSubstr("结果:   未导出"));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "logs")) << "nothing was exported, so nothing logged";
}
