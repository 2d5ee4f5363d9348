#include "ItemScan.h"

#include <sqlite3.h>

#include <memory>
#include <stdexcept>

namespace velloran::bench {

namespace {

constexpr const char* kItemRows = "SELECT note_id, seq, name, type, flags, vals FROM items";

struct CloseDatabase {
    void operator()(sqlite3* database) const { sqlite3_close(database); }
};
struct FinalizeStatement {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};

[[noreturn]] void fail(sqlite3* database, const std::string& path) {
    throw std::runtime_error("cannot scan the items of " + path + ": " +
                             (database ? sqlite3_errmsg(database) : "out of memory"));
}

// Every column is fetched as the engine would before decoding it.
std::int64_t readRow(sqlite3_stmt* row) {
    sqlite3_column_int64(row, 0);
    sqlite3_column_int64(row, 1);
    sqlite3_column_text(row, 2);
    sqlite3_column_int(row, 3);
    sqlite3_column_int(row, 4);
    sqlite3_column_blob(row, 5);
    return sqlite3_column_bytes(row, 2) + sqlite3_column_bytes(row, 5);
}

}  // namespace

ItemScan scanItems(const std::string& databasePath) {
    sqlite3* opened = nullptr;
    const int rc = sqlite3_open_v2(databasePath.c_str(), &opened, SQLITE_OPEN_READONLY, nullptr);
    const std::unique_ptr<sqlite3, CloseDatabase> database(opened);
    if (rc != SQLITE_OK) fail(opened, databasePath);
    sqlite3_stmt* prepared = nullptr;
    if (sqlite3_prepare_v2(opened, kItemRows, -1, &prepared, nullptr) != SQLITE_OK) fail(opened, databasePath);
    const std::unique_ptr<sqlite3_stmt, FinalizeStatement> rows(prepared);
    ItemScan scan;
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(prepared)) == SQLITE_ROW) {
        scan.bytes += readRow(prepared);
        ++scan.rows;
    }
    if (step != SQLITE_DONE) fail(opened, databasePath);
    return scan;
}

}  // namespace velloran::bench
