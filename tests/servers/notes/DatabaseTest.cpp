// Browsing a database through the component's objects, in process.
#include "SampleDatabase.h"
#include "TempDir.h"
#include "component/SessionObject.h"
#include "files/FileCalls.h"
#include "store/EngineError.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace velloran::notes {
namespace {

using testing::TempDir;

class DatabaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::writeSampleDatabase(file_);
        session_.Initialize("");
        database_ = session_.GetDatabase("", file_, false);
    }

    DocumentPtr nth(const std::string& view, int position) { return database_->GetView(view)->GetNthDocument(position); }
    static std::string subject(const DocumentPtr& document) {
        return std::get<std::string>(document->GetItemValue("Subject").at(0));
    }

    TempDir dir_;
    std::string file_ = dir_.file("sample.nsf");
    component::SessionObject session_{dir_.file("no-registry.reg")};
    DatabasePtr database_;
};

TEST_F(DatabaseTest, ListsEveryViewIncludingHiddenOnesInDesignOrder) {
    EXPECT_EQ(database_->Views(), (StringList{"Main", "By Rank", "($Hidden)", "Lookup$Keys", "Empty"}));
    EXPECT_EQ(database_->Title(), "Sample");
}

TEST_F(DatabaseTest, FindsViewsByNameOrAliasIgnoringCaseAndRefusesUnknownOnes) {
    EXPECT_EQ(database_->GetView("primary")->Name(), "Main");
    EXPECT_EQ(database_->GetView("  by rank ")->Name(), "By Rank");
    EXPECT_THROW(database_->GetView("Nope"), std::exception);
}

TEST_F(DatabaseTest, ViewDescribesItsColumnsAndCount) {
    ViewPtr view = database_->GetView("Main");
    EXPECT_EQ(view->ColumnCount(), 2);
    EXPECT_EQ(view->ColumnNames(), (StringList{"Subject", "Rank"}));
    EXPECT_EQ(view->AllEntriesCount(), 5);
    EXPECT_EQ(database_->GetView("Empty")->AllEntriesCount(), 0);
}

TEST_F(DatabaseTest, GetNthDocumentGivesNothingOutsideTheView) {
    EXPECT_EQ(nth("Main", 0), nullptr);
    EXPECT_EQ(nth("Main", -1), nullptr);
    EXPECT_EQ(nth("Main", 6), nullptr);
    EXPECT_EQ(nth("Empty", 1), nullptr);
    EXPECT_EQ(subject(nth("Main", 1)), "Doc 1");
    EXPECT_EQ(subject(nth("Main", 5)), "Doc 5");
}

TEST_F(DatabaseTest, GetNextDocumentWalksTheViewAndEndsAfterTheLast) {
    ViewPtr view = database_->GetView("By Rank");
    std::vector<std::string> order;
    for (DocumentPtr doc = view->GetNthDocument(1); doc; doc = view->GetNextDocument(doc)) order.push_back(subject(doc));
    EXPECT_EQ(order, (std::vector<std::string>{"Doc 3", "Doc 5", "Doc 1", "Doc 4", "Doc 2"}));
    EXPECT_THROW(view->GetNextDocument(nullptr), std::exception);
}

TEST_F(DatabaseTest, GetNextDocumentFindsADocumentReachedAnotherWay) {
    DocumentPtr doc1 = nth("Main", 1);
    ViewPtr byRank = database_->GetView("By Rank");
    EXPECT_EQ(subject(byRank->GetNextDocument(doc1)), "Doc 4");
    DocumentPtr byUnid = database_->GetDocumentByUNID(doc1->UniversalID());
    EXPECT_EQ(subject(database_->GetView("Main")->GetNextDocument(byUnid)), "Doc 2");
    EXPECT_THROW(database_->GetView("Empty")->GetNextDocument(doc1), std::exception);
}

TEST_F(DatabaseTest, ColumnValuesComeFromTheViewIndex) {
    DocumentPtr first = nth("By Rank", 1);
    EXPECT_EQ(first->ColumnValues(), (ValueList{5.0, std::string("Doc 3")}));
    EXPECT_TRUE(database_->GetDocumentByUNID(first->UniversalID())->ColumnValues().empty());
}

TEST_F(DatabaseTest, ItemsAreListedInDocumentOrderWithAttachmentEntries) {
    EXPECT_EQ(nth("Main", 1)->Items(), (StringList{"Subject", "Rank", "When", "Tags", "Body", "$FILE", "$FILE"}));
    EXPECT_EQ(nth("Main", 2)->Items(), (StringList{"Subject", "Rank", "When", "Tags", "Body"}));
}

TEST_F(DatabaseTest, ItemValuesKeepTheirTypesAndAMissingItemIsOneEmptyText) {
    DocumentPtr doc = nth("Main", 1);
    EXPECT_EQ(doc->GetItemValue("tags"), (ValueList{std::string("red"), std::string("blue")}));
    EXPECT_EQ(doc->GetItemValue("Rank"), (ValueList{3.0}));
    EXPECT_EQ(doc->GetItemValue("When"), (ValueList{doc->Created()}));
    EXPECT_EQ(doc->GetItemValue("NoSuchItem"), (ValueList{std::string()}));
    EXPECT_EQ(doc->GetFirstItem("NoSuchItem"), nullptr);
    EXPECT_EQ(doc->GetFirstItem("Rank")->Type(), kNumber);
    EXPECT_EQ(doc->GetFirstItem("Rank")->AsRichText(), nullptr);
}

TEST_F(DatabaseTest, DocumentByUniversalIdAndItsErrors) {
    std::string unid = nth("Main", 4)->UniversalID();
    EXPECT_EQ(unid.size(), 32u);
    EXPECT_EQ(subject(database_->GetDocumentByUNID(unid)), "Doc 4");
    EXPECT_THROW(database_->GetDocumentByUNID(std::string(32, '0')), std::exception);
    EXPECT_THROW(database_->GetDocumentByUNID("not-an-id"), std::exception);
}

TEST_F(DatabaseTest, RichTextGivesFormattedTextAndItsEmbeddedObjects) {
    ItemPtr item = nth("Main", 3)->GetFirstItem("Body");
    ASSERT_EQ(item->Type(), kRichText);
    RichTextItemPtr body = item->AsRichText();
    ASSERT_NE(body, nullptr);
    EXPECT_EQ(body->GetFormattedText(true, 80), "Subjectvalue\r\n");
    EXPECT_EQ(body->GetFormattedText(false, 0), "Subject\tvalue\r\n");
    EXPECT_EQ(body->EmbeddedObjects(), (StringList{"one.txt", "two.txt", "three.txt"}));
    EXPECT_EQ(body->GetEmbeddedObject("two.txt")->FileSize(),
              static_cast<std::int64_t>(testing::sampleObjectBytes("two.txt").size()));
    EXPECT_EQ(body->GetEmbeddedObject("missing.txt"), nullptr);
    EXPECT_EQ(item->Values(), (ValueList{std::string("Subject\tvalue\r\n")}));
}

TEST_F(DatabaseTest, HasEmbeddedCoversAttachmentsAndEmbeddedObjects) {
    EXPECT_TRUE(nth("Main", 1)->HasEmbedded());
    EXPECT_TRUE(nth("Main", 2)->HasEmbedded());
    EXPECT_FALSE(nth("Main", 4)->HasEmbedded());
}

TEST_F(DatabaseTest, AttachmentsAreFoundByNameAndExtracted) {
    DocumentPtr doc = nth("Main", 1);
    EXPECT_EQ(doc->GetAttachment("nothing.txt"), nullptr);
    EmbeddedObjectPtr attachment = doc->GetAttachment("b.txt");
    ASSERT_NE(attachment, nullptr);
    std::string target = dir_.file("out-b.txt");
    attachment->ExtractFile(target);
    EXPECT_EQ(TempDir::read(target), testing::sampleObjectBytes("b.txt"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()), {}), 2) << "no temporary file is left";
}

TEST_F(DatabaseTest, ExtractionToAFolderThatCannotBeWrittenNamesThePath) {
    // A file standing where the folder should be: no user, root included,
    // can write below it.
    std::filesystem::path blocker = dir_.path() / "blocker";
    std::ofstream(blocker) << "a file, not a folder";
    std::string target = (blocker / "a.txt").string();
    EmbeddedObjectPtr attachment = nth("Main", 1)->GetAttachment("a.txt");
    try {
        attachment->ExtractFile(target);
        FAIL() << "extraction below a plain file succeeded";
    } catch (const std::exception& e) {
        EXPECT_NE(std::string(e.what()).find(target), std::string::npos) << e.what();
    }
    EXPECT_THROW(attachment->ExtractFile(dir_.file("missing-folder/a.txt")), std::exception);
}

TEST_F(DatabaseTest, AnAttachmentIsSavedUnderTheLongestNameTheFileSystemTakes) {
    std::filesystem::path folder = dir_.path() / "out";
    std::filesystem::create_directory(folder);
    std::string name = std::string(240, 'a') + "附件.txt";
    ASSERT_EQ(name.size(), 250u);
    std::string target = (folder / name).string();
    nth("Main", 1)->GetAttachment("a.txt")->ExtractFile(target);
    EXPECT_EQ(TempDir::read(target), testing::sampleObjectBytes("a.txt"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1) << "no temporary file is left";
}

TEST_F(DatabaseTest, AFailingWriteNamesTheFileAndReasonAndLeavesTheOldFile) {
    std::filesystem::path folder = dir_.path() / "out";
    std::string target = dir_.write("out/a.txt", "an earlier copy");
    platform::FileCalls calls = platform::systemFileCalls();
    calls.write = [](int, const void*, std::size_t) -> ssize_t {
        errno = ENOSPC;
        return -1;
    };
    platform::ScopedFileCalls diskFull(calls);
    try {
        nth("Main", 1)->GetAttachment("a.txt")->ExtractFile(target);
        FAIL() << "extraction onto a full disk succeeded";
    } catch (const Failure& e) {
        EXPECT_EQ(platform::describeFailure(e, false), "无法保存文件: " + target + "（原因：磁盘已满）");
        EXPECT_NE(std::string(e.original()).find(target), std::string::npos) << e.original();
        EXPECT_NE(std::string(e.original()).find(std::strerror(ENOSPC)), std::string::npos) << e.original();
    }
    EXPECT_EQ(TempDir::read(target), "an earlier copy");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1) << "no temporary file is left";
}

TEST_F(DatabaseTest, EvaluateRunsFormulasForADocument) {
    EXPECT_EQ(session_.Evaluate("@AttachmentNames", nth("Main", 1)), (ValueList{std::string("a.txt"), std::string("b.txt")}));
    EXPECT_EQ(session_.Evaluate("@AttachmentNames", nth("Main", 2)), (ValueList{std::string()}));
    EXPECT_EQ(session_.Evaluate("Subject + \"!\"", nth("Main", 2)), (ValueList{std::string("Doc 2!")}));
    EXPECT_EQ(session_.Evaluate("1 + 2", nullptr), (ValueList{3.0}));
    EXPECT_THROW(session_.Evaluate("@Created", nullptr), std::exception);
}

TEST_F(DatabaseTest, RefusesToCreateDatabasesAndNeedsAnInitialisedSession) {
    EXPECT_THROW(session_.GetDatabase("", file_, true), std::exception);
    component::SessionObject fresh(dir_.file("no-registry.reg"));
    EXPECT_THROW(fresh.GetDatabase("", file_, false), std::exception);
}

}  // namespace
}  // namespace velloran::notes
