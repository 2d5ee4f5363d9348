// A walk over a view reads one state of the database from its first document
// to its last, whatever another program writes meanwhile; where the file has
// no locks (immutable reads), the first change stops the walk.
#include "OtherProgram.h"
#include "SampleDatabase.h"
#include "TempDir.h"
#include "component/DatabaseObject.h"
#include "component/SessionObject.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace velloran::notes {
namespace {

using testing::OtherProgram;
using testing::TempDir;

// Entries the "Main" view gets, more than one stretch of the engine's reads.
constexpr int kEntries = 300;

// The sample's five entries of "Main" repeated up to kEntries.
const std::string kGrowMain =
    "WITH RECURSIVE p(n) AS (SELECT 6 UNION ALL SELECT n + 1 FROM p WHERE n < " + std::to_string(kEntries) +
    ") INSERT INTO view_entries (view_id, position, note_id, column_values) "
    "SELECT e.view_id, p.n, e.note_id, e.column_values FROM p JOIN view_entries e "
    "ON e.view_id = " + testing::viewIdOf("Main") + " AND e.position = (p.n - 1) % 5 + 1; "
    "UPDATE views SET entry_count = " + std::to_string(kEntries) + " WHERE name = 'Main';";

const std::string kInsertFirst = testing::insertFirstEntry("Main");
const std::string kReverse = testing::reverseEntries("Main", kEntries);

// Each document of a walk over "Main" as its universal ID and subject; the
// walk's count first. `between` runs after the first document.
std::vector<std::string> walk(Database& database, const std::function<void()>& between = [] {}) {
    ViewPtr view = database.GetView("Main");
    std::vector<std::string> seen{std::to_string(view->AllEntriesCount())};
    DocumentPtr document = view->GetNthDocument(1);
    between();
    for (; document; document = view->GetNextDocument(document))
        seen.push_back(document->UniversalID() + " " + std::get<std::string>(document->GetItemValue("Subject")[0]));
    return seen;
}

class ReadSnapshotTest : public ::testing::Test {
protected:
    void SetUp() override { session_.Initialize(""); }

    // A new sample whose "Main" view has kEntries entries.
    std::string sample(const std::string& name) {
        std::string file = dir_.file(name);
        testing::writeSampleDatabase(file);
        EXPECT_EQ(OtherProgram(file).write(kGrowMain), SQLITE_OK);
        return file;
    }

    TempDir dir_;
    component::SessionObject session_{dir_.file("no-registry.reg")};
};

TEST_F(ReadSnapshotTest, AWalkSeesOneStateWhileAnotherProgramChangesTheView) {
    struct Case {
        const char* journal;
        const std::string& change;
        int writerResult;  // a rollback journal's writer waits for the walk
    };
    const Case cases[] = {{"DELETE", kInsertFirst, SQLITE_BUSY}, {"DELETE", kReverse, SQLITE_BUSY},
                          {"WAL", kInsertFirst, SQLITE_OK}, {"WAL", kReverse, SQLITE_OK}};
    int round = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.journal) + ": " + c.change);
        const std::string file = sample("round" + std::to_string(++round) + ".nsf");
        OtherProgram writer(file);
        ASSERT_EQ(writer.run(std::string("PRAGMA journal_mode = ") + c.journal), SQLITE_OK);
        DatabasePtr database = session_.GetDatabase("", file, false);
        const std::vector<std::string> before = walk(*database);
        ASSERT_EQ(before.size(), kEntries + 1u);

        int written = -1;
        EXPECT_EQ(walk(*database, [&] { written = writer.write(c.change); }), before);
        EXPECT_EQ(written, c.writerResult);
        // The walk is over: the file is free and a new walk sees the change.
        if (written != SQLITE_OK) {
            EXPECT_EQ(writer.write(c.change), SQLITE_OK);
        }
        EXPECT_NE(walk(*database), before);
    }
}

TEST_F(ReadSnapshotTest, AWalkHoldsItsStateUntilItEndsOrItsViewIsLetGo) {
    const std::string file = sample("sample.nsf");
    OtherProgram writer(file);
    DatabasePtr database = session_.GetDatabase("", file, false);
    ViewPtr view = database->GetView("Main");
    DocumentPtr document = view->GetNthDocument(kEntries - 1);
    EXPECT_EQ(writer.write(kReverse), SQLITE_BUSY) << "during the walk";
    document = view->GetNextDocument(view->GetNextDocument(document));
    EXPECT_EQ(document, nullptr);
    EXPECT_EQ(writer.write(kReverse), SQLITE_OK) << "after the last document";

    view->AllEntriesCount();
    EXPECT_EQ(writer.write(kReverse), SQLITE_BUSY) << "after counting";
    view.reset();
    EXPECT_EQ(writer.write(kReverse), SQLITE_OK) << "once the view is let go";
}

TEST_F(ReadSnapshotTest, AnImmutableReadStopsAtTheFirstChangeInsteadOfCallingTheFileDamaged) {
    // As on read-only media, or for a write-ahead-log file without its side
    // files in a folder where they cannot be made.
    const std::string file = sample("sample.nsf");
    ASSERT_EQ(OtherProgram(file).run("PRAGMA journal_mode = WAL"), SQLITE_OK);
    component::DatabaseObject database(std::make_shared<component::OpenDatabase>(
        std::make_unique<store::Connection>(file, store::Connection::Mode::Immutable), false));
    ViewPtr view = database.GetView("Main");
    DocumentPtr document = view->GetNthDocument(1);
    // Its last connection closing writes the change into the file itself.
    ASSERT_EQ(OtherProgram(file).write(kReverse), SQLITE_OK);
    try {
        view->GetNextDocument(document);
        FAIL() << "the walk went on over a changed file";
    } catch (const std::exception& error) {
        EXPECT_EQ(std::string(error.what()), "数据库文件 " + file +
                                                 " 在读取期间被其它程序修改，已读出的内容可能前后不一致，读取已停止；"
                                                 "请在修改结束后重新读取");
    }
}

}  // namespace
}  // namespace velloran::notes
