#pragma once
// Another program's plain SQLite connection to a database file, which gives
// up at once on a locked file, and the changes such a program makes to a
// view's index between two reads of a walk.
#include <sqlite3.h>

#include <string>

namespace velloran::testing {

class OtherProgram {
public:
    explicit OtherProgram(const std::string& path) { sqlite3_open(path.c_str(), &db_); }
    ~OtherProgram() { sqlite3_close(db_); }
    OtherProgram(const OtherProgram&) = delete;
    OtherProgram& operator=(const OtherProgram&) = delete;

    int run(const std::string& sql) { return sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr); }
    // The SQLite result of running `sql` as one transaction.
    int write(const std::string& sql) {
        int rc = run("BEGIN; " + sql + " COMMIT;");
        if (rc != SQLITE_OK) run("ROLLBACK");
        return rc;
    }

private:
    sqlite3* db_ = nullptr;
};

inline std::string viewIdOf(const std::string& view) { return "(SELECT view_id FROM views WHERE name = '" + view + "')"; }

// A new first entry: a second one for the document that was at position 4.
inline std::string insertFirstEntry(const std::string& view) {
    const std::string id = viewIdOf(view);
    return "UPDATE view_entries SET position = -position WHERE view_id = " + id + "; " +
           "UPDATE view_entries SET position = 1 - position WHERE view_id = " + id + "; " +
           "INSERT INTO view_entries SELECT view_id, 1, note_id, column_values FROM view_entries WHERE view_id = " +
           id + " AND position = 5; " + "UPDATE views SET entry_count = entry_count + 1 WHERE view_id = " + id + ";";
}

// The view's order reversed (re-sorted) over its `entries` entries.
inline std::string reverseEntries(const std::string& view, int entries) {
    const std::string id = viewIdOf(view);
    return "UPDATE view_entries SET position = -position WHERE view_id = " + id + "; " +
           "UPDATE view_entries SET position = " + std::to_string(entries + 1) + " + position WHERE view_id = " + id +
           ";";
}

}  // namespace velloran::testing
