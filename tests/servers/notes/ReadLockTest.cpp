// A database being browsed stays writable by other programs: every read
// ends, and gives up its lock on the file, when the call that made it ends,
// or, for a walk over a view, when the walk ends (see ReadSnapshotTest).
#include "SampleDatabase.h"
#include "TempDir.h"
#include "component/SessionObject.h"
#include "store/NoteStore.h"
#include "store/NsfFile.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <functional>
#include <memory>

namespace velloran::notes {
namespace {

using testing::TempDir;

// Another program's connection, which gives up at once on a locked file.
class OtherWriter {
public:
    explicit OtherWriter(const std::string& path) { sqlite3_open(path.c_str(), &db_); }
    ~OtherWriter() { sqlite3_close(db_); }
    OtherWriter(const OtherWriter&) = delete;
    OtherWriter& operator=(const OtherWriter&) = delete;

    // The SQLite result of one committed write.
    int write() {
        return sqlite3_exec(db_, "UPDATE database_info SET value = value WHERE key = 'title'", nullptr, nullptr, nullptr);
    }

private:
    sqlite3* db_ = nullptr;
};

class ReadLockTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::writeSampleDatabase(file_);
        writer_ = std::make_unique<OtherWriter>(file_);
        session_.Initialize("");
    }

    // Runs the read, then lets the other program write.
    void expectWritableAfter(const char* read, const std::function<void()>& action) {
        action();
        EXPECT_EQ(writer_->write(), SQLITE_OK) << "after " << read;
    }

    TempDir dir_;
    std::string file_ = dir_.file("sample.nsf");
    component::SessionObject session_{dir_.file("no-registry.reg")};
    std::unique_ptr<OtherWriter> writer_;
};

TEST_F(ReadLockTest, EveryKindOfReadReleasesTheFileWhenItEnds) {
    DatabasePtr database;
    expectWritableAfter("opening", [&] { database = session_.GetDatabase("", file_, false); });
    DocumentPtr first;
    expectWritableAfter("GetNthDocument", [&] { first = database->GetView("Main")->GetNthDocument(1); });
    expectWritableAfter("GetItemValue", [&] { first->GetItemValue("Subject"); });
    expectWritableAfter("HasEmbedded", [&] { first->HasEmbedded(); });
    expectWritableAfter("GetAttachment", [&] { first->GetAttachment("a.txt"); });
    expectWritableAfter("GetDocumentByUNID", [&] { database->GetDocumentByUNID(first->UniversalID()); });
    expectWritableAfter("GetNextDocument from another view",
                        [&] { database->GetView("By Rank")->GetNextDocument(first); });
    expectWritableAfter("GetEmbeddedObject", [&] {
        database->GetView("Main")->GetNthDocument(2)->GetFirstItem("Body")->AsRichText()->GetEmbeddedObject("missing.txt");
    });
    expectWritableAfter("ExtractFile", [&] { first->GetAttachment("b.txt")->ExtractFile(dir_.file("b.txt")); });
}

TEST_F(ReadLockTest, AReadThatFailsOrStopsAtTheFirstRowReleasesTheFile) {
    auto connection = store::openForReading(file_);
    expectWritableAfter("a one-row look-up", [&] { store::NoteStore(*connection).header(1); });
    expectWritableAfter("a read that throws", [&] {
        store::Statement statement = connection->cached("SELECT note_id FROM notes");
        ASSERT_TRUE(statement.step());
        EXPECT_THROW(statement.bind(99, std::int64_t{1}), Failure);
    });
}

}  // namespace
}  // namespace velloran::notes
