// Exports of data the real engine cannot hold: hostile names, a view whose
// next document cannot be reached, an attachment that is missing.
#include "ExportFixture.h"
#include "FakeNotes.h"

#include "component/ComponentRuntime.h"

#include <QFileInfo>

#include <gmock/gmock.h>

#include <filesystem>

using namespace velloran;
using namespace velloran::testing;
using ::testing::Contains;
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
            if (entry.is_regular_file()) found.push_back(std::filesystem::relative(entry.path(), dir.path()).string());
        std::sort(found.begin(), found.end());
        return found;
    }

    std::shared_ptr<FakeDatabase> database = std::make_shared<FakeDatabase>();
};

TEST_F(FakeExportTest, HostileNamesAreSavedInsideTheDocumentsFolderAndLoggedAsWritten) {
    auto document = add("../../../escaped");
    for (const char* name : {"../../evil.sh", "/etc/cron.d/job", "C:\\boot.ini", ""}) {
        document->attachmentNames.push_back(name);
        document->attachments[name] = std::make_shared<FakeObject>(name, "x");
    }
    document->body = std::make_shared<FakeRichText>(
        "Body", "text", std::vector{std::make_shared<FakeObject>("..", "object"), std::make_shared<FakeObject>("b", "")});
    ASSERT_TRUE(exportFrom(QStringLiteral("1")).completed());

    const std::string folder = "out/V附件/.._.._.._escaped/";
    EXPECT_EQ(files(), (std::vector<std::string>{"logs/log20261206.txt", "out/V附件/.._.._.._escaped/.._.._evil.sh",
                                                 "out/V附件/.._.._.._escaped/C__boot.ini",
                                                 "out/V附件/.._.._.._escaped/_", "out/V附件/.._.._.._escaped/__",
                                                 "out/V附件/.._.._.._escaped/_etc_cron.d_job", "out/导出_开始为第1个文档.xls",
                                                 "registry.reg"}));
    EXPECT_EQ(TempDir::read(dir.file(folder + "__")), "object") << "the rich-text object";
    const QString written = out() + QStringLiteral("V附件/.._.._.._escaped/");
    EXPECT_THAT(logLines(), Contains(QStringLiteral("保存第1个文档第2个附件到:") + written + QStringLiteral("_etc_cron.d_job;")));
    EXPECT_THAT(logLines(), Contains(QStringLiteral("分离第1个文档RichText域到:") + written + QStringLiteral("__;")));
}

TEST_F(FakeExportTest, AMissingAttachmentSkipsTheRestOfThatDocumentsAttachmentsOnly) {
    auto document = add("D1");
    document->attachmentNames = {"a.txt", "gone.txt", "c.txt"};
    document->attachments["a.txt"] = std::make_shared<FakeObject>("a.txt", "a");
    document->attachments["c.txt"] = std::make_shared<FakeObject>("c.txt", "c");
    ASSERT_TRUE(exportFrom(QStringLiteral("1")).completed());

    EXPECT_TRUE(QFileInfo::exists(out() + QStringLiteral("V附件/D1/a.txt")));
    EXPECT_FALSE(QFileInfo::exists(out() + QStringLiteral("V附件/D1/c.txt")));
    const QStringList lines = logLines();
    EXPECT_THAT(lines, Contains(QStringLiteral("获取第1个文档第2个附件:gone.txt;")));
    EXPECT_THAT(lines, Not(Contains(QStringLiteral("获取第1个文档第3个附件:c.txt;"))));
    EXPECT_THAT(lines, Contains(QStringLiteral("  s=s+;"))) << "the walk goes on with the item";
}

TEST_F(FakeExportTest, ANextDocumentThatCannotBeReachedIsLoggedAndTheWalkGoesOn) {
    add("D1");
    add("D2");
    add("D3");
    database->view->failNextAfter = 0;
    ASSERT_TRUE(exportFrom(QStringLiteral("1")).completed());

    const QStringList lines = logLines();
    EXPECT_EQ(lines.filter(QStringLiteral("链接第1个文档出错;")).size(), 1);
    // The document stays where it was, so the next row repeats it.
    const nlohmann::json written = sheet(workbook("1"));
    EXPECT_EQ(written["rows"], 4);
    std::vector<std::string> ids;
    for (const nlohmann::json& cell : written["cells"])
        if (cell[1] == 0 && cell[0] > 0) ids.push_back(cell[2]);
    EXPECT_EQ(ids, (std::vector<std::string>{"D1", "D1", "D2"}));
}
