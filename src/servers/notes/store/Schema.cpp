#include "store/Schema.h"

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

namespace velloran::notes::store {

namespace {

constexpr const char* kTables = R"sql(
CREATE TABLE database_info (
  key TEXT PRIMARY KEY,
  value TEXT NOT NULL
) WITHOUT ROWID;
CREATE TABLE notes (
  note_id INTEGER PRIMARY KEY,
  unid TEXT NOT NULL UNIQUE COLLATE NOCASE,
  created INTEGER NOT NULL,
  modified INTEGER NOT NULL
);
CREATE TABLE items (
  note_id INTEGER NOT NULL,
  seq INTEGER NOT NULL,
  name TEXT NOT NULL,
  type INTEGER NOT NULL,
  flags INTEGER NOT NULL,
  vals BLOB NOT NULL,
  PRIMARY KEY (note_id, seq)
) WITHOUT ROWID;
CREATE TABLE rich_text (
  note_id INTEGER NOT NULL,
  item_seq INTEGER NOT NULL,
  paragraph INTEGER NOT NULL,
  run INTEGER NOT NULL,
  kind INTEGER NOT NULL,
  content TEXT NOT NULL,
  PRIMARY KEY (note_id, item_seq, paragraph, run)
) WITHOUT ROWID;
CREATE TABLE objects (
  object_id INTEGER PRIMARY KEY,
  note_id INTEGER NOT NULL,
  kind INTEGER NOT NULL,
  item_seq INTEGER,
  name TEXT NOT NULL,
  size INTEGER NOT NULL
);
CREATE INDEX objects_by_note ON objects (note_id, kind, name);
CREATE TABLE object_chunks (
  chunk_id INTEGER PRIMARY KEY,
  object_id INTEGER NOT NULL,
  chunk INTEGER NOT NULL,
  data BLOB NOT NULL
);
CREATE UNIQUE INDEX object_chunks_in_order ON object_chunks (object_id, chunk);
CREATE TABLE views (
  view_id INTEGER PRIMARY KEY,
  name TEXT NOT NULL,
  aliases BLOB NOT NULL,
  selection TEXT NOT NULL,
  entry_count INTEGER NOT NULL
);
CREATE TABLE view_columns (
  view_id INTEGER NOT NULL,
  position INTEGER NOT NULL,
  title TEXT NOT NULL,
  formula TEXT NOT NULL,
  sort INTEGER NOT NULL,
  PRIMARY KEY (view_id, position)
) WITHOUT ROWID;
CREATE TABLE view_entries (
  view_id INTEGER NOT NULL,
  position INTEGER NOT NULL,
  note_id INTEGER NOT NULL,
  column_values BLOB NOT NULL,
  PRIMARY KEY (view_id, position)
) WITHOUT ROWID;
CREATE INDEX view_entries_by_note ON view_entries (view_id, note_id);
CREATE TABLE acl (
  name TEXT PRIMARY KEY COLLATE NOCASE,
  level INTEGER NOT NULL
) WITHOUT ROWID;
)sql";

std::int64_t pragmaValue(Connection& connection, const char* sql) {
    Statement statement = connection.cached(sql);
    return statement.step() ? statement.integer(0) : 0;
}

// One entry of the file's schema, its SQL with each run of white space made
// one space, so that only a change of meaning tells two designs apart.
struct SchemaEntry {
    std::string type, name, table, sql;
    auto operator<=>(const SchemaEntry&) const = default;
};

std::string collapseSpaces(const std::string& sql) {
    std::string out;
    bool inSpace = false;
    for (char c : sql) {
        bool space = c == ' ' || c == '\n' || c == '\t' || c == '\r';
        if (!space) out += c;
        else if (!inSpace) out += ' ';
        inSpace = space;
    }
    return out;
}

// At most `limit` entries, in order; a file with more is not ours anyway.
std::vector<SchemaEntry> schemaEntries(Connection& connection, std::int64_t limit) {
    Statement statement = connection.cached("SELECT type, name, tbl_name, sql FROM sqlite_schema LIMIT ?");
    statement.bind(1, limit);
    std::vector<SchemaEntry> entries;
    while (statement.step())
        entries.push_back({statement.text(0), statement.text(1), statement.text(2), collapseSpaces(statement.text(3))});
    std::sort(entries.begin(), entries.end());
    return entries;
}

// The schema createSchema makes, read back from a database in memory.
const std::vector<SchemaEntry>& ourSchema() {
    static const std::vector<SchemaEntry> entries = [] {
        Connection reference(":memory:", Connection::Mode::Create);
        reference.execute(kTables);
        return schemaEntries(reference, std::numeric_limits<std::int64_t>::max());
    }();
    return entries;
}

bool hasTables(Connection& connection) {
    Statement statement = connection.cached("SELECT count(*) FROM sqlite_schema");
    return statement.step() && statement.integer(0) > 0;
}

}  // namespace

void createSchema(Connection& connection) {
    connection.execute(kTables);
    connection.execute("PRAGMA application_id = " + std::to_string(kApplicationId));
    connection.execute("PRAGMA user_version = " + std::to_string(kSchemaVersion));
}

void checkSchema(Connection& connection) {
    const std::string& path = connection.path();
    std::int64_t applicationId = pragmaValue(connection, "PRAGMA application_id");
    if (applicationId != kApplicationId) {
        if (applicationId == 0 && !hasTables(connection))
            throw engineFailure(msg::kEmptyFile, {path});
        throw engineFailure(msg::kForeignFile, {path});
    }
    std::int64_t version = pragmaValue(connection, "PRAGMA user_version");
    if (version > kSchemaVersion)
        throw engineFailure(msg::kNewerLayout, {path, std::to_string(version), std::to_string(kSchemaVersion)});
    if (version < 1) throw engineFailure(msg::kNoLayoutVersion, {path});
    // Every table and index must be exactly ours, and nothing else may be
    // there: a view, a trigger, another index or a changed column would make
    // SQLite run SQL that the file brought with it.
    const std::vector<SchemaEntry>& expected = ourSchema();
    if (schemaEntries(connection, static_cast<std::int64_t>(expected.size()) + 1) != expected)
        throw unusableDatabase(path);
}

}  // namespace velloran::notes::store
