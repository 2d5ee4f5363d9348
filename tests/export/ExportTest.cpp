// Whole exports through the real engine and spreadsheet component, read
// back with xlrd: the workbook, the attachment tree, the log line by line,
// the wait window and the messages.
#include "CapturedDiagnostics.h"
#include "ExportFixture.h"
#include "XlrdReader.h"

#include "component/ComponentRuntime.h"
#include "run/IntegerText.h"
#include "text/Gb18030.h"

#include <QDir>
#include <QFileInfo>

#include <gmock/gmock.h>

#include <filesystem>

using namespace velloran::exporting;
using velloran::testing::ExportFixture;
using velloran::testing::TempDir;
using velloran::testing::findCell;
using nlohmann::json;
using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

const QString kUnid1 = QStringLiteral("000000000000000000000000000000D1");
const QString kUnid2 = QStringLiteral("000000000000000000000000000000D2");
const QString kUnid3 = QStringLiteral("000000000000000000000000000000D3");
const QString kLongValue = QStringLiteral("a") + QString(20000, QChar(0x6C49));  // 40001 GB18030 bytes

// The first document has the items Form, Body (rich text with three
// objects) and 2019; the second two attachments, a number and an item the
// first lacks; the third a long value and a rich-text item without objects.
json sample() {
    json description = json::parse(R"json({
      "views": [ {"name": "V"} ],
      "documents": [
        {"unid": "000000000000000000000000000000D1", "items": [
           {"name": "Form", "value": "Memo"},
           {"name": "Body", "type": "richtext",
            "paragraphs": ["Hello\tworld", ["see ", {"object": "one.txt"}, {"object": "two.txt"}, {"object": "three.txt"}]],
            "objects": [{"name": "one.txt", "base64": "b25l"}, {"name": "two.txt", "base64": "dHdv"},
                        {"name": "three.txt", "base64": "dGhyZWU="}]},
           {"name": "2019", "value": "x😀한"} ]},
        {"unid": "000000000000000000000000000000D2", "items": [
           {"name": "Form", "value": "Memo"}, {"name": "2019", "type": "number", "value": 12},
           {"name": "Extra", "value": "not a column"} ],
         "attachments": [ {"name": "a.doc", "base64": "YQ=="}, {"name": "b.pdf", "base64": "Yg=="} ]},
        {"unid": "000000000000000000000000000000D3", "items": [
           {"name": "Form", "value": "LONG"},
           {"name": "Body", "type": "richtext", "paragraphs": ["plain"]},
           {"name": "2019", "value": "y"} ]}
      ]})json");
    description["documents"][2]["items"][0]["value"] = kLongValue.toStdString();
    return description;
}

std::string text(const json& sheet, int row, int column) {
    const json* cell = findCell(sheet, row, column);
    return cell && (*cell)[2].is_string() ? (*cell)[2].get<std::string>() : std::string("<none>");
}

}  // namespace

class ExportTest : public ExportFixture {
protected:
    void SetUp() override {
        registerSpreadsheet();
        openDatabase(sample(), QStringLiteral("V"));
    }
    QString folder(const QString& unid) const { return out() + QStringLiteral("V附件/") + unid + QLatin1Char('/'); }
    // The lines of one column item: start, value, written.
    static QStringList item(int n, const QString& value) {
        return {QStringLiteral("开始分离第%1个文档RichText域;").arg(n), QStringLiteral("  s=s+") + value + QLatin1Char(';'),
                QStringLiteral(" s值写入excel表 ;")};
    }
    QStringList picture(const QString& unid) const {
        return {QStringLiteral("调用图片导出程序保存到:") + folder(unid) + QStringLiteral(" ;"),
                QStringLiteral("结束图片导出程序保存到:") + folder(unid) + QStringLiteral(" ;")};
    }
};

TEST_F(ExportTest, WritesTheWorkbookTheAttachmentTreeAndTheLogOfAWholeView) {
    ExportOutcome outcome = exportFrom(QStringLiteral("1"));
    ASSERT_EQ(outcome.result, ExportOutcome::Result::Incomplete) << "the long value was cut";
    EXPECT_EQ(outcome.losses.cells, 1);

    const json sheet = this->sheet(workbook("1"));
    EXPECT_EQ(sheet["rows"], 4);
    EXPECT_EQ(sheet["widths"], json({{"0", 40 * 256}, {"1", 40 * 256}, {"2", 40 * 256}, {"3", 14 * 256}}));
    const std::vector<std::vector<std::string>> expected = {
        {"文档ID", "Form", "Body", "2019"},
        {kUnid1.toStdString(), "Memo", "Helloworld\r\nsee Hello\tworld\r\nsee ", "x😀한"},
        {kUnid2.toStdString(), "Memo", "<none>", "12"},
        {kUnid3.toStdString(), "<long>", "plainplain", "y"}};
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            if (expected[row][column] != "<long>") {
                EXPECT_EQ(text(sheet, row, column), expected[row][column]) << row << "," << column;
            }
    EXPECT_EQ(QString::fromStdString(text(sheet, 3, 1)), velloran::platform::cutToGb18030Bytes(kLongValue, 32100));
    EXPECT_EQ((*findCell(sheet, 0, 3))[3], "@") << "an integer-like header is text";
    EXPECT_EQ((*findCell(sheet, 0, 1))[3], "General");

    EXPECT_EQ(TempDir::read(folder(kUnid1).toStdString() + "one.txt"), "one");
    EXPECT_FALSE(QFileInfo::exists(folder(kUnid1) + QStringLiteral("two.txt"))) << "only the first object";
    EXPECT_EQ(TempDir::read(folder(kUnid2).toStdString() + "a.doc"), "a");
    EXPECT_EQ(TempDir::read(folder(kUnid2).toStdString() + "b.pdf"), "b");
    EXPECT_FALSE(QFileInfo::exists(folder(kUnid3))) << "no embedded objects, no folder";

    QStringList lines = {QStringLiteral("开始导出视图V到文件") + workbook("1") + QLatin1Char(';'),
                         QStringLiteral("完成向excel写入第1个文档;"), QStringLiteral("判断第1个文档有附件;"),
                         QStringLiteral("获取第1个文档有附件列表;"), QStringLiteral("获取第1个文档有附件数量为:1;")};
    lines << picture(kUnid1) << item(1, QStringLiteral("Memo"));
    lines << QStringLiteral("开始分离第1个文档RichText域;")
          << QStringLiteral("分离第1个文档RichText域到:") + folder(kUnid1) + QStringLiteral("one.txt;")
          << QStringLiteral("  s=s+Hello\tworld\r\nsee ;") << QStringLiteral(" s值写入excel表 ;");
    lines << item(1, QStringLiteral("x😀한"));
    lines << QStringLiteral("完成向excel写入第2个文档;") << QStringLiteral("判断第2个文档有附件;")
          << QStringLiteral("获取第2个文档有附件列表;") << QStringLiteral("获取第2个文档有附件数量为:2;")
          << QStringLiteral("获取第2个文档第1个附件:a.doc;")
          << QStringLiteral("保存第2个文档第1个附件到:") + folder(kUnid2) + QStringLiteral("a.doc;")
          << QStringLiteral("获取第2个文档第2个附件:b.pdf;")
          << QStringLiteral("保存第2个文档第2个附件到:") + folder(kUnid2) + QStringLiteral("b.pdf;");
    lines << picture(kUnid2) << item(2, QStringLiteral("Memo")) << item(2, QString()) << item(2, QStringLiteral("12"));
    lines << QStringLiteral("完成向excel写入第3个文档;") << picture(kUnid3) << item(3, kLongValue)
          << QStringLiteral("导出第3个文档出错:Form,文本超出.xls单元格的长度上限(32000字节)，超出部分未导出;")
          << item(3, QStringLiteral("plain")) << item(3, QStringLiteral("y"));
    EXPECT_EQ(logLines(), lines);

    const QString progress = QStringLiteral("SetWaitMsg 正在导出数据到导出_开始为第1个文档.xls...");
    EXPECT_EQ(wait.calls, QStringList({QStringLiteral("ShowWait"), progress, QStringLiteral("SetWaitProgress 3 0"),
                                       progress + QStringLiteral("1/3"), QStringLiteral("SetWaitProgress 3 1"),
                                       progress + QStringLiteral("2/3"), QStringLiteral("SetWaitProgress 3 2"),
                                       progress + QStringLiteral("3/3"), QStringLiteral("SetWaitProgress 3 3"),
                                       QStringLiteral("CloseWait")}));
    EXPECT_THAT(messageTexts(), ElementsAre(messages::incomplete(outcome.losses, logFile()) + QLatin1Char('\n') +
                                            messages::savedFiles(workbook("1"), out() + QStringLiteral("V附件"))));
    EXPECT_EQ(prompts.messages()[0].caption, QStringLiteral("VelloranV3.4"));
}

TEST_F(ExportTest, StartingAtTheCountWritesOneRowAndAboveItNothing) {
    ASSERT_EQ(exportFrom(QStringLiteral("3")).result, ExportOutcome::Result::Incomplete) << "its long value was cut";
    const json sheet = this->sheet(workbook("3"));
    EXPECT_EQ(sheet["rows"], 2);
    EXPECT_EQ(text(sheet, 0, 1), "Form");
    EXPECT_EQ(text(sheet, 1, 0), kUnid3.toStdString());
    EXPECT_THAT(wait.calls, ::testing::Contains(QStringLiteral("SetWaitProgress 3 1"))) << "k + 1 of the whole count";

    prompts.clear();
    const QStringList linesBefore = logLines();
    EXPECT_FALSE(exportFrom(QStringLiteral("4")).completed());
    EXPECT_THAT(messageTexts(), ElementsAre(messages::kNothingToExport));
    EXPECT_FALSE(QFileInfo::exists(workbook("4")));
    EXPECT_EQ(logLines(), linesBefore) << "not even a log line";
}

TEST_F(ExportTest, AnExistingWorkbookIsLeftAloneAndNothingIsLogged) {
    TempDir::read(dir.write("out/导出_开始为第1个文档.xls", "mine"));
    EXPECT_FALSE(exportFrom(QStringLiteral("1")).completed());
    EXPECT_THAT(messageTexts(), ElementsAre(workbook("1") + QStringLiteral("文件已存在!")));
    EXPECT_EQ(TempDir::read(workbook("1").toStdString()), "mine");
    EXPECT_FALSE(QFileInfo::exists(logFile()));
}

TEST_F(ExportTest, AStartThatIsNotANumberEndsTheCommandBeforeAnythingIsCreated) {
    state.ExportStart = QStringLiteral("3a");
    try {
        exportTo(out() + QStringLiteral("x.xls"));
        FAIL() << "no error";
    } catch (const velloran::platform::Failure& error) {
        EXPECT_STREQ(error.what(), "'3a' is not a valid integer value");
    }
    EXPECT_FALSE(QFileInfo::exists(logFile()));
    EXPECT_TRUE(wait.calls.isEmpty());
}

TEST_F(ExportTest, TheCommandAsksForTheFileAndTheStartAndEitherCancelEndsIt) {
    ExportFolderMemory folders{QStringLiteral("/last"), {}};
    prompts.answerSaveFile(out() + QStringLiteral("x.XLS"));
    prompts.answerInput(QStringLiteral("1"));
    state.ExportStart = QStringLiteral("2");
    exportExecute({hive, prompts, wait, log}, state, folders);
    ASSERT_GE(prompts.calls().size(), 2u);
    EXPECT_EQ(prompts.calls()[0].filter,
              QStringLiteral("Excel文件|*.xls|Excel 工作簿|*.xlsx|CSV UTF-8|*.csv"));
    EXPECT_EQ(prompts.calls()[0].folder, QStringLiteral("/last"));
    EXPECT_EQ(folders.lastFolder + QLatin1Char('/'), out()) << "the next dialog opens where this export went";
    EXPECT_EQ(prompts.calls()[1].caption, QStringLiteral("请输入从第几个文档开始导出!"));
    EXPECT_EQ(prompts.calls()[1].prompt, QStringLiteral("从第几个文档开始导："));
    EXPECT_EQ(prompts.calls()[1].initial, QStringLiteral("1")) << "every export offers the first document";
    EXPECT_EQ(this->sheet(out() + QStringLiteral("x_开始为第1个文档.xls"))["rows"], 4);

    prompts.clear();
    prompts.answerSaveFile(out() + QStringLiteral("y"));
    prompts.answerInput(QStringLiteral("2"));
    exportExecute({hive, prompts, wait, log}, state, folders);
    EXPECT_EQ(this->sheet(out() + QStringLiteral("y_开始为第2个文档.xls"))["rows"], 3);

    prompts.clear();
    wait.calls.clear();
    const QStringList linesBefore = logLines();
    prompts.answerSaveFile(out() + QStringLiteral("elsewhere/z"));
    prompts.cancelInput();
    exportExecute({hive, prompts, wait, log}, state, folders);
    EXPECT_EQ(prompts.calls().size(), 2u) << "a cancelled start prompt ends the command without a message";
    EXPECT_EQ(folders.lastFolder + QLatin1Char('/'), out()) << "no export went elsewhere";
    EXPECT_TRUE(QDir(out()).entryList({QStringLiteral("elsewhere*"), QStringLiteral("z*")}).isEmpty())
        << "no workbook, no attachment folder";
    EXPECT_EQ(logLines(), linesBefore);
    EXPECT_TRUE(wait.calls.isEmpty());
    EXPECT_EQ(state.ExportStart, QStringLiteral("2"));

    prompts.clear();
    exportExecute({hive, prompts, wait, log}, state, folders);
    EXPECT_EQ(prompts.calls().size(), 1u) << "a cancelled save dialog ends the command";
}

TEST_F(ExportTest, WithoutTheSpreadsheetApplicationTheStartIsLoggedAndNothingElseHappens) {
    velloran::testing::CapturedDiagnostics diagnostics;
    std::filesystem::remove(hive);
    velloran::platform::ComponentRuntime(hive).registerServer(VELLORAN_NOTES_MODULE);
    EXPECT_FALSE(exportFrom(QStringLiteral("1")).completed());
    EXPECT_THAT(messageTexts(), ElementsAre(QStringLiteral("请确认您电脑上是否安装了EXCEL！")));
    EXPECT_EQ(logLines().size(), 1);
    EXPECT_FALSE(QFileInfo::exists(workbook("1")));
    EXPECT_TRUE(wait.calls.isEmpty()) << "the wait window is not shown yet";
    EXPECT_THAT(diagnostics.texts(), ElementsAre(QStringLiteral("velloran.export: the spreadsheet application did not "
                                                                "start: No application is registered as Excel.Application")));
}

TEST_F(ExportTest, AViewThatCannotBeOpenedLeavesAnEmptyWorkbook) {
    state.CurrentViewName = QStringLiteral("Gone");
    EXPECT_FALSE(exportFrom(QStringLiteral("1")).completed());
    ASSERT_EQ(messageTexts().size(), 1u);
    EXPECT_TRUE(messageTexts()[0].startsWith(QStringLiteral("连接视图出错:"))) << messageTexts()[0].toStdString();
    EXPECT_EQ(this->sheet(workbook("1"))["cells"], json::array());
    EXPECT_EQ(wait.calls.last(), QStringLiteral("CloseWait"));
}

TEST_F(ExportTest, AStartBelowOneIsRefusedBeforeAnythingIsCreated) {
    for (const QString& start : {QStringLiteral("0"), QStringLiteral("-5")}) {
        prompts.clear();
        EXPECT_FALSE(exportFrom(start).completed());
        EXPECT_THAT(messageTexts(), ElementsAre(messages::kStartBelowOne + start));
        EXPECT_FALSE(QFileInfo::exists(workbook(start)));
    }
    EXPECT_FALSE(QFileInfo::exists(logFile()));
    EXPECT_TRUE(wait.calls.isEmpty());
}

TEST_F(ExportTest, NothingOpenGivesAMessageNeverACrash) {
    velloran::domino::BrowseState empty;
    empty.ExportStart = QStringLiteral("1");
    ViewExport nothingOpen({hive, prompts, wait, log});
    EXPECT_FALSE(nothingOpen.ExportToWorkbook(requestFrom(empty, out() + QStringLiteral("a.xls"))).completed());
    EXPECT_THAT(messageTexts(), ElementsAre(messages::kNothingToExport));

    // A view name and a count left behind without an open database.
    prompts.clear();
    empty.CurrentViewName = QStringLiteral("V");
    empty.ViewDocumentCount = 3;
    EXPECT_FALSE(nothingOpen.ExportToWorkbook(requestFrom(empty, out() + QStringLiteral("a.xls"))).completed());
    ASSERT_EQ(messageTexts().size(), 1u);
    EXPECT_TRUE(messageTexts()[0].startsWith(messages::kViewFailed));
    EXPECT_TRUE(QFileInfo::exists(out() + QStringLiteral("a_开始为第1个文档.xls")));
}

TEST_F(ExportTest, AViewWithFewerDocumentsThanCountedEndsWithTheWorkbookSaved) {
    state.ViewDocumentCount = 5;
    EXPECT_FALSE(exportFrom(QStringLiteral("2")).completed());
    ASSERT_EQ(messageTexts().size(), 1u);
    EXPECT_THAT(messageTexts()[0].toStdString(), HasSubstr("连接文档出错:视图中已没有第 4 个文档：它比列出时的 5 个文档少"));
    EXPECT_EQ(this->sheet(workbook("2"))["rows"], 3) << "documents 2 and 3 are saved";
    EXPECT_EQ(wait.calls.last(), QStringLiteral("CloseWait"));
}

// The cells are written before their log lines: every document is in the
// workbook, and the lines lost are counted as a loss of the run.
TEST_F(ExportTest, ALogThatFailsDuringTheWalkDoesNotStopTheExport) {
    // The first line is written on the 6th; the walk runs on the 7th, whose
    // file cannot be made.
    int calls = 0;
    ExportLog failing(log.folder(), [&] { return kNow.addDays(calls++ == 0 ? 0 : 1).toMSecsSinceEpoch(); },
                      QLocale(QLocale::Chinese, QLocale::China));
    std::filesystem::create_directories(failing.fileFor(kNow.date().addDays(1)).toStdString());
    const ExportOutcome outcome =
        ViewExport({hive, prompts, wait, failing}).ExportToWorkbook(requestFrom(state, out() + QStringLiteral("导出")));
    EXPECT_EQ(outcome.result, ExportOutcome::Result::Incomplete);
    EXPECT_GT(outcome.losses.logLines, 0);
    EXPECT_EQ(outcome.losses.cells, 1) << "only the long value is cut: every other cell is written";
    ASSERT_EQ(messageTexts().size(), 1u);
    EXPECT_THAT(messageTexts()[0].toStdString(),
                AllOf(HasSubstr("行日志未能写入:无法写入导出日志"), HasSubstr("数据导出结束，但有内容未能导出")));
    const json sheet = this->sheet(workbook("1"));
    EXPECT_EQ(sheet["rows"], 4) << "the header and every document";
    EXPECT_EQ(wait.calls.last(), QStringLiteral("CloseWait"));
}

TEST_F(ExportTest, ALogFolderThatCannotBeWrittenEndsTheCommandBeforeTheApplicationStarts) {
    dir.write("blocked", "");
    ExportLog blocked(QString::fromStdString(dir.file("blocked/logs")));
    EXPECT_THROW(ViewExport({hive, prompts, wait, blocked}).ExportToWorkbook(requestFrom(state, out() + QStringLiteral("导出"))),
                 velloran::platform::Failure);
    EXPECT_FALSE(QFileInfo::exists(workbook("1")));
    EXPECT_TRUE(wait.calls.isEmpty());
}

TEST_F(ExportTest, AViewNameNeverLeadsOutsideTheExportFolder) {
    json description = json::parse(R"json({
      "views": [ {"name": "..\\..\\Escape"} ],
      "documents": [ {"unid": "000000000000000000000000000000E1", "items": [ {"name": "Form", "value": "x"} ],
                      "attachments": [ {"name": "a.txt", "base64": "YQ=="} ]} ]})json");
    std::filesystem::remove(dir.file("data.nsf"));
    openDatabase(description, QStringLiteral("..\\..\\Escape"));
    ASSERT_TRUE(exportFrom(QStringLiteral("1")).completed());

    const QString folder = out() + QStringLiteral("__/__/Escape附件/000000000000000000000000000000E1/");
    EXPECT_EQ(TempDir::read((folder + QStringLiteral("a.txt")).toStdString()), "a");
    EXPECT_THAT(logLines(), ::testing::Contains(QStringLiteral("保存第1个文档第1个附件到:") + folder + QStringLiteral("a.txt;")));
    EXPECT_THAT(messageTexts(),
                ElementsAre(messages::kCompleted + QLatin1Char('\n') +
                            messages::savedFiles(workbook("1"), out() + QStringLiteral("__/__/Escape附件"))));
}

TEST_F(ExportTest, PlantedLinksNeverLeadTheEnginesFilesOutOfTheExportFolder) {
    TempDir victim;
    const std::string precious = victim.write("one.txt", "the victim's own");
    std::filesystem::create_directories(dir.file("out/V附件/" + kUnid1.toStdString()));
    std::filesystem::create_symlink(precious, (folder(kUnid1) + QStringLiteral("one.txt")).toStdString());
    std::filesystem::create_directory_symlink(victim.path(), dir.file("out/V附件/" + kUnid2.toStdString()));
    const ExportOutcome outcome = exportFrom(QStringLiteral("1"));

    EXPECT_EQ(TempDir::read(precious), "the victim's own");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(victim.path()), {}), 1);
    EXPECT_EQ(TempDir::read(folder(kUnid1).toStdString() + "one.txt"), "one") << "a link in the file's place is replaced";
    EXPECT_EQ(outcome.losses.attachments, 2) << "the linked document's folder is refused";
    EXPECT_THAT(logLines(), ::testing::Contains(QStringLiteral("分离第1个文档RichText域到:") + folder(kUnid1) +
                                                QStringLiteral("one.txt;")));
}

namespace {

json oneDocument(const json& items) {
    return {{"views", {{{"name", "V"}}}},
            {"documents", {{{"unid", "000000000000000000000000000000E1"}, {"items", items}}}}};
}

}  // namespace

class CellExportTest : public ExportFixture {
protected:
    void SetUp() override { registerSpreadsheet(); }
};

// What a cell cannot hold is cut as its format says, logged as the cell's
// failure and counted, so that the run does not end as complete.
TEST_F(CellExportTest, ATextLongerThanItsCellIsCutLoggedAndCounted) {
    const QString xlsCut = QStringLiteral("导出第1个文档出错:Form,文本超出.xls单元格的长度上限(32000字节)，超出部分未导出;");
    const QString cut = QStringLiteral("导出第1个文档出错:Form,文本超出单元格的长度上限(32767个字符)，超出部分未导出;");
    struct Case {
        QString name;
        QString value;
        QString failure;  // empty: the cell holds the value whole
    };
    const Case cases[] = {
        {QStringLiteral("a.xls"), kLongValue, xlsCut},
        {QStringLiteral("b.xlsx"), kLongValue, {}},
        {QStringLiteral("c.xlsx"), QString(32767, QLatin1Char('x')), {}},
        {QStringLiteral("d.xlsx"), QString(32768, QLatin1Char('x')), cut},
        {QStringLiteral("e.csv"), QString(40000, QLatin1Char('x')), cut},
    };
    auto failures = [&] { return logLines().filter(QStringLiteral("导出第1个文档出错")); };
    for (const Case& c : cases) {
        state.CurrentDatabase.reset();
        state.Session.reset();
        std::filesystem::remove(dir.file("data.nsf"));
        openDatabase(oneDocument({{{"name", "Form"}, {"value", c.value.toStdString()}}}), QStringLiteral("V"));
        const qsizetype logged = failures().size();
        const ExportOutcome outcome = exportTo(out() + c.name);
        EXPECT_EQ(outcome.completed(), c.failure.isEmpty()) << c.name.toStdString();
        EXPECT_EQ(outcome.losses.cells, c.failure.isEmpty() ? 0 : 1) << c.name.toStdString();
        EXPECT_EQ(failures().mid(logged), c.failure.isEmpty() ? QStringList() : QStringList{c.failure}) << c.name.toStdString();
    }
}

TEST_F(CellExportTest, TheXlsCellKeepsTheStartOfTheText) {
    openDatabase(oneDocument({{{"name", "Form"}, {"value", kLongValue.toStdString()}}}), QStringLiteral("V"));
    exportFrom(QStringLiteral("1"));
    EXPECT_EQ(QString::fromStdString(text(sheet(workbook("1")), 1, 1)),
              velloran::platform::cutToGb18030Bytes(kLongValue, 32100));
}

// The k-th column of a name takes the document's k-th item of that name.
TEST_F(CellExportTest, EachItemOfARepeatedNameFillsItsOwnColumn) {
    openDatabase(oneDocument({{{"name", "$FILE"}, {"value", "first"}},
                              {{"name", "Form"}, {"value", "Memo"}},
                              {{"name", "$FILE"}, {"value", "second"}},
                              {{"name", "$file"}, {"value", "third"}}}),
                 QStringLiteral("V"));
    ASSERT_TRUE(exportFrom(QStringLiteral("1")).completed());
    const json sheet = this->sheet(workbook("1"));
    const std::vector<std::string> expected = {"first", "Memo", "second", "third"};
    for (int column = 1; column <= 4; ++column)
        EXPECT_EQ(text(sheet, 1, column), expected[column - 1]) << column;
}

TEST_F(CellExportTest, AStartDocumentWithoutItemsStillTitlesTheIdColumn) {
    openDatabase(oneDocument(json::array()), QStringLiteral("V"));
    ASSERT_TRUE(exportFrom(QStringLiteral("1")).completed());
    const json sheet = this->sheet(workbook("1"));
    EXPECT_EQ(text(sheet, 0, 0), "文档ID");
    EXPECT_EQ(text(sheet, 1, 0), "000000000000000000000000000000E1");
}
