// Exports of what the real engine cannot produce on demand: hostile and
// colliding names, a view whose next document cannot be reached, files that
// cannot be written, values that cannot be read.
#include "ExportFixture.h"
#include "FakeNotes.h"
#include "XlrdReader.h"

#include "component/ComponentRuntime.h"

#include <QFileInfo>

#include <gmock/gmock.h>

#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <unistd.h>

using namespace velloran;
using namespace velloran::testing;
using namespace velloran::exporting;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;

class FakeExportTest : public ExportFixture {
protected:
    void SetUp() override {
        registerSpreadsheet();
        state.Session = std::make_unique<domino::TNotesSession>(platform::ComponentRuntime(hive));
        state.Session->ConnectTo(std::make_shared<FakeSession>());
        state.CurrentDatabase = std::make_unique<domino::TNotesDatabase>();
        state.CurrentDatabase->ConnectTo(database);
        state.CurrentViewName = QStringLiteral("V");
    }
    std::shared_ptr<FakeDocument> add(const std::string& universalId) {
        auto document = std::make_shared<FakeDocument>(universalId);
        database->view->documents.push_back(document);
        state.ViewDocumentCount = static_cast<int>(database->view->documents.size());
        return document;
    }
    // Every regular file below the temporary folder, relative to it.
    std::vector<std::string> files() const {
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.path()))
            if (entry.is_regular_file()) found.push_back(entry.path().lexically_relative(dir.path()).string());
        std::sort(found.begin(), found.end());
        return found;
    }

    // The universal IDs of the written rows, in order.
    std::vector<std::string> writtenIds() const { return writtenIdsIn(workbook("1")); }
    std::vector<std::string> writtenIdsIn(const QString& file) const {
        std::vector<std::string> ids;
        const nlohmann::json written = sheet(file);
        for (const nlohmann::json& cell : written["cells"])
            if (cell[1] == 0 && cell[0] > 0) ids.push_back(cell[2]);
        return ids;
    }
    QStringList failureLines() const { return logLines().filter(QStringLiteral("出错:")); }

    std::shared_ptr<FakeDatabase> database = std::make_shared<FakeDatabase>();
};

TEST_F(FakeExportTest, HostileNamesAreSavedInsideTheDocumentsFolderAndLoggedAsWritten) {
    auto document = add("../../../escaped");
    for (const char* name : {"../../evil.sh", "/etc/cron.d/job", "C:\\boot.ini", ".bashrc"}) {
        document->attachmentNames.push_back(name);
        document->attachments[name] = std::make_shared<FakeObject>(name, "x");
    }
    document->body = std::make_shared<FakeRichText>(
        "Body", "text", std::vector{std::make_shared<FakeObject>("..", "object"), std::make_shared<FakeObject>("b", "")});
    ASSERT_TRUE(exportFrom(QStringLiteral("1")).completed());

    const std::string folder = "out/V附件/___.._.._escaped/";
    EXPECT_EQ(files(), (std::vector<std::string>{"logs/log20261206.txt", folder + "C__boot.ini", folder + "__",
                                                 folder + "___.._evil.sh", folder + "_bashrc",
                                                 folder + "_etc_cron.d_job", "out/导出_开始为第1个文档.xls",
                                                 "registry.reg", "registry.reg.lock"}));
    EXPECT_EQ(TempDir::read(dir.file(folder + "__")), "object") << "the rich-text object";
    const QString written = out() + QStringLiteral("V附件/___.._.._escaped/");
    EXPECT_THAT(logLines(), Contains(QStringLiteral("保存第1个文档第2个附件到:") + written + QStringLiteral("_etc_cron.d_job;")));
    EXPECT_THAT(logLines(), Contains(QStringLiteral("分离第1个文档RichText域到:") + written + QStringLiteral("__;")));
}

TEST_F(FakeExportTest, NamesThatCollideAreNumberedAndEachFileKeepsItsOwnBytes) {
    auto document = add("D1");
    document->attachmentNames = {"a/b.txt", "a_b.txt", "a:b.txt", "_profile", ".profile", "o.txt"};
    for (const std::string& name : document->attachmentNames)
        document->attachments[name] = std::make_shared<FakeObject>(name, name);
    document->body = std::make_shared<FakeRichText>("Body", "text",
                                                    std::vector{std::make_shared<FakeObject>("o.txt", "object")});
    ASSERT_TRUE(exportFrom(QStringLiteral("1")).completed());

    const QString folder = out() + QStringLiteral("V附件/D1/");
    const std::vector<std::pair<QString, std::string>> expected = {
        {"a_b.txt", "a/b.txt"}, {"a_b (2).txt", "a_b.txt"}, {"a_b (3).txt", "a:b.txt"},
        {"_profile", "_profile"}, {"_profile (2)", ".profile"}, {"o.txt", "o.txt"},      {"o (2).txt", "object"}};
    for (const auto& [name, bytes] : expected) EXPECT_EQ(TempDir::read((folder + name).toStdString()), bytes) << name.toStdString();
    EXPECT_THAT(logLines(), Contains(QStringLiteral("保存第1个文档第3个附件到:") + folder + QStringLiteral("a_b (3).txt;")));
    EXPECT_THAT(logLines(), Contains(QStringLiteral("分离第1个文档RichText域到:") + folder + QStringLiteral("o (2).txt;")));
}

TEST_F(FakeExportTest, FilesThatCannotBeWrittenAreLoggedWithTheirReasonCountedAndTheRestIsSaved) {
    auto document = add("D1");
    document->attachmentNames = {"full.bin", "a.txt", "long.txt", "gone.txt", "locked.txt", "a.txt"};
    document->attachments["full.bin"] = std::make_shared<FakeObject>("full.bin", "", ENOSPC);
    document->attachments["a.txt"] = std::make_shared<FakeObject>("a.txt", "a");
    document->attachments["long.txt"] = std::make_shared<FakeObject>("long.txt", "", ENAMETOOLONG);
    document->attachments["locked.txt"] = std::make_shared<FakeObject>("locked.txt", "", EACCES);
    document->body = std::make_shared<FakeRichText>("Body", "text",
                                                    std::vector{std::make_shared<FakeObject>("pic.png", "", ENOSPC)});
    add("D2");
    const ExportOutcome outcome = exportFrom(QStringLiteral("1"));

    EXPECT_EQ(outcome.result, ExportOutcome::Result::Incomplete);
    EXPECT_EQ(outcome.losses.attachments, 5);
    EXPECT_EQ(outcome.losses.objects, 1);
    EXPECT_EQ(outcome.losses.cells, 0);
    EXPECT_EQ(TempDir::read(dir.file("out/V附件/D1/a.txt")), "a") << "an attachment after a failed one is saved";
    const QString folder = out() + QStringLiteral("V附件/D1/");
    EXPECT_EQ(failureLines(),
              QStringList({QStringLiteral("导出第1个文档出错:full.bin,Cannot write the file ") + folder +
                               QStringLiteral("full.bin: No space left on device;"),
                           QStringLiteral("导出第1个文档出错:long.txt,Cannot write the file ") + folder +
                               QStringLiteral("long.txt: File name too long;"),
                           QStringLiteral("导出第1个文档出错:gone.txt,the document holds no attachment named gone.txt;"),
                           QStringLiteral("导出第1个文档出错:locked.txt,Cannot write the file ") + folder +
                               QStringLiteral("locked.txt: Permission denied;"),
                           QStringLiteral("导出第1个文档出错:a.txt,the document holds more than one attachment named "
                                          "a.txt and only the first of them can be read;"),
                           QStringLiteral("导出第1个文档出错:pic.png,Cannot write the file ") + folder +
                               QStringLiteral("pic.png: No space left on device;")}));
    // Each failure line follows the step that failed.
    const QStringList lines = logLines();
    EXPECT_EQ(lines.indexOf(failureLines()[0]), lines.indexOf(QStringLiteral("获取第1个文档第1个附件:full.bin;")) + 1);
    EXPECT_THAT(writtenIds(), ::testing::ElementsAre("D1", "D2")) << "the walk goes on";
    EXPECT_THAT(messageTexts(), ElementsAre(messages::incomplete(outcome.losses, logFile()) + QLatin1Char('\n') +
                                            messages::savedFiles(workbook("1"), out() + QStringLiteral("V附件"))));
    EXPECT_THAT(messageTexts()[0].toStdString(), ::testing::HasSubstr("5个附件、1个RichText对象、0个单元格"));
}

TEST_F(FakeExportTest, AFileInThePlaceOfTheAttachmentFolderLosesThatDocumentsAttachmentsWithTheReason) {
    auto document = add("D1");
    document->attachmentNames = {"a.txt", "b.txt"};
    dir.write("out/V附件", "in the way");
    const ExportOutcome outcome = exportFrom(QStringLiteral("1"));

    EXPECT_EQ(outcome.result, ExportOutcome::Result::Incomplete);
    EXPECT_EQ(outcome.losses.attachments, 2);
    EXPECT_EQ(failureLines(), QStringList(QStringLiteral("导出第1个文档出错:") + out() + QStringLiteral("V附件/D1/,无法使用文件夹 ") +
                                          out() + QStringLiteral("V附件：那里有一个不是文件夹的东西;")));
    EXPECT_EQ(TempDir::read(dir.file("out/V附件")), "in the way");
}

// Links planted in a shared export folder, where an attachment's folder
// will be, must not lead the export's files into the folders they name.
TEST_F(FakeExportTest, AFolderPlantedAsALinkIsRefusedAndItsTargetUntouched) {
    TempDir victim;
    const std::string precious = victim.write("a.txt", "the victim's own");
    auto linked = add("D1");
    linked->attachmentNames = {"a.txt", "b.txt"};
    for (const std::string& name : linked->attachmentNames)
        linked->attachments[name] = std::make_shared<FakeObject>(name, "attachment bytes");
    linked->body = std::make_shared<FakeRichText>("Body", "text", std::vector{std::make_shared<FakeObject>("pic.png", "object")});
    auto plain = add("D2");
    plain->attachmentNames = {"c.txt"};
    plain->attachments["c.txt"] = std::make_shared<FakeObject>("c.txt", "c");
    std::filesystem::create_directories(dir.file("out/V附件"));
    std::filesystem::create_directory_symlink(victim.path(), dir.file("out/V附件/D1"));
    const ExportOutcome outcome = exportFrom(QStringLiteral("1"));

    EXPECT_EQ(TempDir::read(precious), "the victim's own");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(victim.path()), {}), 1) << "nothing new there";
    EXPECT_EQ(outcome.losses.attachments, 2);
    EXPECT_EQ(outcome.losses.objects, 1);
    const QString refused = QStringLiteral("文件夹 ") + out() + QStringLiteral("V附件/D1 是符号链接，不会通过链接写入;");
    EXPECT_EQ(failureLines(), QStringList({QStringLiteral("导出第1个文档出错:") + out() + QStringLiteral("V附件/D1/,") + refused,
                                           QStringLiteral("导出第1个文档出错:pic.png,") + refused}));
    EXPECT_EQ(TempDir::read(dir.file("out/V附件/D2/c.txt")), "c") << "the other documents are saved";
}

TEST_F(FakeExportTest, ALinkAboveTheDocumentsFoldersIsRefusedForEveryDocument) {
    TempDir victim;
    state.CurrentViewName = QStringLiteral("部门\\按日期");
    for (const char* id : {"D1", "D2"}) {
        auto document = add(id);
        document->attachmentNames = {"a.txt"};
        document->attachments["a.txt"] = std::make_shared<FakeObject>("a.txt", "a");
    }
    std::filesystem::create_directories(dir.file("out"));
    std::filesystem::create_directory_symlink(victim.path(), dir.file("out/部门"));
    const ExportOutcome outcome = exportFrom(QStringLiteral("1"));

    EXPECT_TRUE(std::filesystem::is_empty(victim.path()));
    EXPECT_EQ(outcome.losses.attachments, 2);
    ASSERT_EQ(failureLines().size(), 2);
    EXPECT_TRUE(failureLines()[1].endsWith(QStringLiteral("文件夹 ") + out() + QStringLiteral("部门 是符号链接，不会通过链接写入;")))
        << failureLines()[1].toStdString();
}

TEST_F(FakeExportTest, AWorkbookCreatedDuringTheRunIsKeptAndOursSavedBesideIt) {
    auto document = add("D1");
    document->attachmentNames = {"a.txt"};
    document->attachments["a.txt"] = std::make_shared<FakeObject>("a.txt", "a");
    document->attachments["a.txt"]->whileExtracting = [&] { dir.write("out/导出_开始为第1个文档.xls", "theirs"); };
    const ExportOutcome outcome = exportFrom(QStringLiteral("1"));

    EXPECT_TRUE(outcome.completed());
    const QString beside = out() + QStringLiteral("导出_开始为第1个文档 (2).xls");
    EXPECT_EQ(outcome.workbook, beside);
    EXPECT_EQ(TempDir::read(workbook("1").toStdString()), "theirs");
    EXPECT_THAT(writtenIdsIn(beside), ElementsAre("D1"));
    EXPECT_THAT(messageTexts(), ElementsAre(messages::kCompleted + QLatin1Char('\n') +
                                            messages::savedFiles(beside, out() + QStringLiteral("V附件")) +
                                            QLatin1Char('\n') + messages::savedBeside(workbook("1"), beside)));
}

// Numbered names taken by a file or a link (even a broken one) are passed
// over; each stays as it was.
TEST_F(FakeExportTest, TheWorkbookSavedBesideTakesTheFirstFreeNumberedName) {
    auto document = add("D1");
    document->attachmentNames = {"a.txt"};
    document->attachments["a.txt"] = std::make_shared<FakeObject>("a.txt", "a");
    document->attachments["a.txt"]->whileExtracting = [&] { dir.write("out/导出_开始为第1个文档.xls", "theirs"); };
    dir.write("out/导出_开始为第1个文档 (2).xls", "theirs too");
    std::filesystem::create_symlink(dir.file("nowhere"), dir.file("out/导出_开始为第1个文档 (3).xls"));
    const ExportOutcome outcome = exportFrom(QStringLiteral("1"));

    const QString beside = out() + QStringLiteral("导出_开始为第1个文档 (4).xls");
    EXPECT_TRUE(outcome.completed());
    EXPECT_EQ(outcome.workbook, beside);
    EXPECT_EQ(TempDir::read(dir.file("out/导出_开始为第1个文档 (2).xls")), "theirs too");
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("out/导出_开始为第1个文档 (3).xls")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("nowhere")));
    EXPECT_THAT(writtenIdsIn(beside), ElementsAre("D1"));
}

TEST_F(FakeExportTest, AStoppedRunSavesBesideAWorkbookCreatedMeanwhileAndSaysWhere) {
    auto document = add("D1");
    document->attachmentNames = {"a.txt"};
    document->attachments["a.txt"] = std::make_shared<FakeObject>("a.txt", "a");
    document->attachments["a.txt"]->whileExtracting = [&] { dir.write("out/导出_开始为第1个文档.xls", "theirs"); };
    add("D2");
    add("D3");
    database->view->failNextAfter = 0;
    database->view->failNthFrom = 2;
    const ExportOutcome outcome = exportFrom(QStringLiteral("1"));

    const QString beside = out() + QStringLiteral("导出_开始为第1个文档 (2).xls");
    EXPECT_EQ(outcome.result, ExportOutcome::Result::Failed);
    EXPECT_EQ(outcome.workbook, beside);
    EXPECT_EQ(TempDir::read(workbook("1").toStdString()), "theirs");
    EXPECT_THAT(messageTexts(), ElementsAre(messages::kDocumentFailed + QStringLiteral("the view's index is unreadable"),
                                            messages::savedBeside(workbook("1"), beside)));
}

// Temporary files of a killed run: the next export removes those of its own
// pattern that no live process holds, and nothing else.
TEST_F(FakeExportTest, LeftoversOfAKilledRunAreRemovedFromTheFoldersItOpens) {
    auto document = add("D1");
    document->attachmentNames = {"a.txt"};
    document->attachments["a.txt"] = std::make_shared<FakeObject>("a.txt", "a");
    dir.write("out/.velloran-wbk001", "a temporary workbook");
    dir.write("out/V附件/D1/.velloran-att001", "a temporary attachment");
    dir.write("out/V附件/D2/.velloran-att002", "in a folder this run does not open");
    dir.write("out/.velloran-other", "not of our pattern");
    const std::string held = dir.write("out/.velloran-live01", "being written");
    const int holder = ::open(held.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    TempDir victim;
    const std::string precious = victim.write("precious", "keep");
    std::filesystem::create_symlink(precious, dir.file("out/.velloran-link01"));
    ASSERT_TRUE(exportFrom(QStringLiteral("1")).completed());
    ::close(holder);

    EXPECT_EQ(files(), (std::vector<std::string>{"logs/log20261206.txt", "out/.velloran-link01", "out/.velloran-live01", "out/.velloran-other",
                                                 "out/V附件/D1/a.txt", "out/V附件/D2/.velloran-att002",
                                                 "out/导出_开始为第1个文档.xls", "registry.reg", "registry.reg.lock"}));
    EXPECT_EQ(TempDir::read(precious), "keep");
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("out/.velloran-link01")));
}

TEST_F(FakeExportTest, AValueThatCannotBeReadLosesOnlyItsCell) {
    add("D1")->damagedItem = "Subject";
    add("D2");
    const ExportOutcome outcome = exportFrom(QStringLiteral("1"));

    EXPECT_EQ(outcome.losses.cells, 1);
    EXPECT_EQ(failureLines(), QStringList(QStringLiteral("导出第1个文档出错:Subject,the value of Subject is damaged;")));
    const nlohmann::json written = sheet(workbook("1"));
    const nlohmann::json* lost = findCell(written, 1, 2);
    EXPECT_TRUE(!lost || (*lost)[2] == "") << "D1's Subject stays empty";
    EXPECT_EQ((*findCell(written, 2, 2))[2], "D2 subject");
}

TEST_F(FakeExportTest, UnderTheViewRuleUnreadableColumnValuesLoseTheirRowsCellsEachNamedByItsTitle) {
    database->view->columnTitles = {"Who", "Sum"};
    add("D1")->damagedColumns = true;
    add("D2")->columnValues = {std::string("b"), 2.5};
    ExportRequest request = requestFrom(state, out() + QStringLiteral("导出"));
    request.columns = ColumnRule::View;
    const ExportOutcome outcome = exporter().ExportToWorkbook(request);

    EXPECT_EQ(outcome.result, ExportOutcome::Result::Incomplete);
    EXPECT_EQ(outcome.losses.cells, 2);
    EXPECT_EQ(failureLines(), QStringList({QStringLiteral("导出第1个文档出错:Who,the view entry of D1 is damaged;"),
                                           QStringLiteral("导出第1个文档出错:Sum,the view entry of D1 is damaged;")}));
    const nlohmann::json written = sheet(workbook("1"));
    EXPECT_EQ((*findCell(written, 0, 2))[2], "Sum");
    EXPECT_EQ((*findCell(written, 1, 0))[2], "D1") << "the row keeps its universal ID";
    EXPECT_EQ((*findCell(written, 2, 1))[2], "b");
    EXPECT_EQ((*findCell(written, 2, 2))[2], "2.5");
}

TEST_F(FakeExportTest, ANextDocumentThatCannotBeReachedIsFoundByItsPositionAndNeverWrittenTwice) {
    add("D1");
    add("D2");
    add("D3");
    database->view->failNextAfter = 0;
    ASSERT_TRUE(exportFrom(QStringLiteral("1")).completed()) << "nothing was lost";

    const QStringList lines = logLines();
    const qsizetype failed = lines.indexOf(QStringLiteral("链接第1个文档出错;"));
    ASSERT_GE(failed, 0);
    EXPECT_EQ(lines[failed + 1], QStringLiteral("导出第1个文档出错:下一个文档,the view's index is damaged;"));
    EXPECT_THAT(writtenIds(), ::testing::ElementsAre("D1", "D2", "D3"));
}

TEST_F(FakeExportTest, ANextDocumentThatCannotBeReachedAtAllEndsTheRunWithWhatWasWritten) {
    add("D1");
    add("D2");
    add("D3");
    database->view->failNextAfter = 0;
    database->view->failNthFrom = 2;
    const ExportOutcome outcome = exportFrom(QStringLiteral("1"));

    EXPECT_EQ(outcome.result, ExportOutcome::Result::Failed);
    EXPECT_THAT(messageTexts(), ElementsAre(messages::kDocumentFailed + QStringLiteral("the view's index is unreadable")));
    EXPECT_THAT(writtenIds(), ::testing::ElementsAre("D1"));
    EXPECT_EQ(wait.calls.last(), QStringLiteral("CloseWait"));
}

// Prompts that read the log each time the user is told something.
class LogAtEachMessage : public ScriptedPrompts {
public:
    explicit LogAtEachMessage(std::function<QStringList()> readLog) : readLog_(std::move(readLog)) {}
    MessageAnswer message(const QString& text, const QString& caption, MessageIcon icon,
                          MessageButtons buttons) override {
        logs.push_back(readLog_());
        return ScriptedPrompts::message(text, caption, icon, buttons);
    }
    std::vector<QStringList> logs;

private:
    std::function<QStringList()> readLog_;
};

TEST_F(FakeExportTest, ARunStoppedMidDocumentHasThatDocumentsLinesInTheLogBeforeTheUserIsTold) {
    add("D1");
    add("D2");
    database->view->failNextAfter = 0;
    database->view->failNthFrom = 2;
    LogAtEachMessage told([&] { return logLines(); });
    ViewExport({hive, told, wait, log}).ExportToWorkbook(requestFrom(state, out() + QStringLiteral("导出")));

    ASSERT_EQ(told.logs.size(), 1u);
    const QStringList& lines = told.logs[0];
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[0], QStringLiteral("开始导出视图V到文件") + workbook("1") + QLatin1Char(';'));
    EXPECT_EQ(lines[1], QStringLiteral("完成向excel写入第1个文档;"));
    EXPECT_THAT(lines.mid(lines.size() - 2),
                ElementsAre(QStringLiteral("链接第1个文档出错;"),
                            QStringLiteral("导出第1个文档出错:下一个文档,the view's index is damaged;")));
}

// A stop asked for while document k is under way (the cancel button pressed
// at progress step k) takes effect once that document is written; the user
// is told where the run stopped once the workbook is saved, or that it could
// not be.
TEST_F(FakeExportTest, AStopAskedForDuringADocumentEndsTheRunAfterItAndSavesWhatWasWritten) {
    for (const char* id : {"D1", "D2", "D3", "D4"}) add(id);
    const QString stopped = QStringLiteral("导出已中断：第3个文档起未导出（共4个文档）。\n");
    for (const bool saveable : {true, false}) {
        SCOPED_TRACE(saveable ? "saved" : "not saved");
        prompts.clear();
        stopRequested = false;
        std::filesystem::remove_all(dir.file("out"));
        std::filesystem::create_directories(dir.file("out"));
        wait.onProgress = [&](int position) {
            if (position != 2) return;
            stopRequested = true;
            // The workbook's folder goes away before the save.
            if (!saveable) std::filesystem::remove_all(dir.file("out"));
        };
        const ExportOutcome outcome = exportFrom(QStringLiteral("1"));

        EXPECT_EQ(outcome.result, ExportOutcome::Result::Interrupted);
        EXPECT_EQ(outcome.interruptedAt, 3);
        EXPECT_EQ(outcome.saved, saveable);
        EXPECT_EQ(logLines().last(), QStringLiteral("导出在第3个文档前被中断，该文档起未导出;"));
        ASSERT_EQ(messageTexts().size(), 1u);
        if (saveable) {
            EXPECT_THAT(writtenIds(), ElementsAre("D1", "D2"));
            EXPECT_EQ(messageTexts()[0], stopped + QStringLiteral("Excel文件：") + workbook("1"));
        } else {
            EXPECT_TRUE(messageTexts()[0].startsWith(stopped + messages::kSaveFailed)) << messageTexts()[0].toStdString();
        }
        EXPECT_EQ(wait.calls.last(), QStringLiteral("CloseWait")) << "the message comes after the wait window";
    }
}

TEST_F(FakeExportTest, TheCompletionMessageNamesTheWorkbookAndTheAttachmentFolderOnlyWhenUsed) {
    struct Case {
        const char* name;
        std::vector<std::string> attachments;
        bool folderNamed;
    };
    // "gone.txt" is listed but cannot be read: nothing is saved for it.
    for (const Case& c : {Case{"without attachments", {}, false}, Case{"with an attachment", {"a.txt"}, true},
                          Case{"with a lost attachment", {"gone.txt"}, false}}) {
        SCOPED_TRACE(c.name);
        database->view->documents.clear();
        prompts.clear();
        auto document = add("D1");
        document->attachmentNames = c.attachments;
        document->attachments["a.txt"] = std::make_shared<FakeObject>("a.txt", "a");
        const QString name = QString::fromUtf8(c.name);
        const ExportOutcome outcome = exportFrom(QStringLiteral("1"), name);
        ASSERT_EQ(messageTexts().size(), 1u);
        const QString saved = QStringLiteral("\nExcel文件：") + workbook("1", name);
        const QString folder = QStringLiteral("\n导出的附件文档存放在Excel文件的同一目录下，文件夹名为：") + out() +
                               QStringLiteral("V附件");
        EXPECT_TRUE(messageTexts()[0].endsWith(c.folderNamed ? saved + folder : saved)) << messageTexts()[0].toStdString();
        EXPECT_EQ(messageTexts()[0].startsWith(QStringLiteral("您好，数据导出完成")), outcome.completed());
    }
}
