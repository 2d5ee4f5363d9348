// Files crafted to make SQLite work without end, or to run SQL of their own,
// are refused with one message; the work of any one call is bounded.
#include "ReadWholeDatabase.h"
#include "SampleDatabase.h"
#include "TempDir.h"
#include "store/NsfFile.h"
#include "store/Sqlite.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <stdexcept>

namespace velloran::notes {
namespace {

using ::testing::HasSubstr;
using testing::TempDir;

// Changes a file with plain SQLite, as whoever crafts a file would.
void craft(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    int rc = sqlite3_open(path.c_str(), &db);
    char* message = nullptr;
    if (rc == SQLITE_OK) rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message);
    std::string why = message ? message : sqlite3_errmsg(db);
    sqlite3_free(message);
    sqlite3_close(db);
    if (rc != SQLITE_OK) throw std::runtime_error("Cannot craft " + path + ": " + why);
}

std::string refusal(const std::string& path) { return "数据库文件已损坏或不是本系统的数据库: " + path; }

constexpr const char* kEndless = "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c) ";

class HostileFileTest : public ::testing::Test {
protected:
    void SetUp() override { session_.Initialize(""); }

    // The sample database, changed by `sql`.
    std::string crafted(const std::string& name, const std::string& sql) {
        std::string path = dir_.file(name);
        testing::writeSampleDatabase(path);
        craft(path, sql);
        return path;
    }

    std::string readError(const std::string& path) { return testing::errorOfReadingAll(session_, path); }

    TempDir dir_;
    component::SessionObject session_{dir_.file("no-registry.reg")};
};

TEST_F(HostileFileTest, AnEndlessViewInPlaceOfATableIsRefused) {
    std::string path = crafted("endless.nsf", std::string("DROP TABLE views; CREATE VIEW views AS ") + kEndless +
                                                  "SELECT x AS view_id, 'View ' || x AS name, X'' AS aliases, "
                                                  "'SELECT @All' AS selection, 0 AS entry_count FROM c;");
    EXPECT_EQ(readError(path), refusal(path));
}

TEST_F(HostileFileTest, ObjectsAddedBesideOurTablesAreRefused) {
    const std::string added[] = {
        std::string("CREATE VIEW endless AS ") + kEndless + "SELECT x FROM c",
        "CREATE INDEX items_by_length ON items (length(name))",
        "CREATE INDEX some_items ON items (name) WHERE type > 0",
        "CREATE TRIGGER endless AFTER INSERT ON notes BEGIN "
        "INSERT INTO notes (unid, created, modified) VALUES (hex(randomblob(16)), 0, 0); END",
        "CREATE TABLE extra (x)",
    };
    int number = 0;
    for (const std::string& sql : added) {
        std::string path = crafted("added" + std::to_string(++number) + ".nsf", sql);
        EXPECT_EQ(readError(path), refusal(path)) << sql;
        // The data tools would fire a trigger: they refuse the file as well.
        try {
            store::openForWriting(path);
            ADD_FAILURE() << "opened for writing: " << sql;
        } catch (const Failure& e) {
            EXPECT_EQ(e.what(), refusal(path)) << sql;
        }
    }
}

TEST_F(HostileFileTest, TablesOfAnotherShapeAreRefused) {
    const std::string changed[] = {
        "DROP TABLE acl; CREATE TABLE acl (name TEXT PRIMARY KEY COLLATE NOCASE) WITHOUT ROWID;",
        "DROP TABLE views; CREATE TABLE views (view_id INTEGER PRIMARY KEY, aliases BLOB NOT NULL, "
        "selection TEXT NOT NULL, entry_count INTEGER NOT NULL);"
        "INSERT INTO views (view_id, aliases, selection, entry_count) VALUES (1, X'', 'SELECT @All', 0);"
        "ALTER TABLE views ADD COLUMN name TEXT AS (printf('%.*c', 900000000, 'x'));",
        "DROP TABLE acl; CREATE TABLE acl (name TEXT PRIMARY KEY COLLATE NOCASE, level INTEGER NOT NULL "
        "CHECK (length(printf('%.*c', 900000000, 'x')) > 0)) WITHOUT ROWID;",
    };
    int number = 0;
    for (const std::string& sql : changed) {
        std::string path = crafted("changed" + std::to_string(++number) + ".nsf", sql);
        EXPECT_EQ(readError(path), refusal(path)) << sql;
    }
}

TEST_F(HostileFileTest, ASchemaEntryTooLongToParseIsADamagedFile) {
    std::string sql = "DROP TABLE acl; CREATE TABLE acl (name TEXT PRIMARY KEY COLLATE NOCASE, "
                      "level INTEGER NOT NULL CHECK (level NOT IN (0";
    for (int i = 1; i < 200000; ++i) {
        sql += ',';
        sql += std::to_string(i);
    }
    sql += "))) WITHOUT ROWID;";
    std::string path = crafted("long.nsf", sql);
    EXPECT_EQ(readError(path), "数据库文件已损坏或不是数据库: " + path);
    EXPECT_THAT(testing::originalErrorOfReadingAll(session_, path),
                HasSubstr("The database file " + path + " is damaged or is not a database"));
}

TEST_F(HostileFileTest, EndlessSqlStopsWithinOneStepsBudget) {
    std::string path = dir_.file("sample.nsf");
    testing::writeSampleDatabase(path);
    store::Connection connection(path, store::Connection::Mode::ReadOnly);
    try {
        store::Statement(connection, std::string(kEndless) + "SELECT x FROM c ORDER BY x").step();
        ADD_FAILURE() << "the endless sort ended";
    } catch (const Failure& e) {
        EXPECT_EQ(e.what(), refusal(path));
    }
    // The connection stays usable, with the whole budget for the next call.
    store::Statement count(connection, "SELECT count(*) FROM notes");
    ASSERT_TRUE(count.step());
    EXPECT_EQ(count.integer(0), 5);
}

TEST_F(HostileFileTest, TheBudgetBoundsEachStepNotTheWholeStatement) {
    std::string path = dir_.file("sample.nsf");
    testing::writeSampleDatabase(path);
    store::Connection connection(path, store::Connection::Mode::ReadOnly);
    // 40 rows of a million virtual-machine steps each: more than one call may
    // take, spread over calls that each stay well inside it.
    store::Statement rows(connection,
                          "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 40) "
                          "SELECT x, (WITH RECURSIVE k(y) AS (SELECT 1 UNION ALL SELECT y + 1 FROM k WHERE y < 50000) "
                          "SELECT count(*) FROM k WHERE y > x) FROM c");
    int count = 0;
    while (rows.step()) ++count;
    EXPECT_EQ(count, 40);
}

}  // namespace
}  // namespace velloran::notes
