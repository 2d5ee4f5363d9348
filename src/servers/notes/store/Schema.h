#pragma once
// The layout of a database file. One .nsf file is one SQLite database:
//
//   PRAGMA application_id = kApplicationId   marks the file as ours
//   PRAGMA user_version   = kSchemaVersion   layout version (newer: refused)
//
//   database_info(key, value)          "title" -> the database title
//   notes(note_id, unid, created, modified)
//       note_id   INTEGER PRIMARY KEY, the note id
//       unid      32 upper-case hexadecimal digits, unique
//       created, modified   milliseconds since 1970-01-01 UTC
//   items(note_id, seq, name, type, flags, vals)
//       seq       position of the item in its document (document order)
//       type      item type code (1 rich text, 768 number, 1024 date-time,
//                 1280 text, 1084 attachment, ...)
//       vals      the value list, encoded by ValueCodec; a rich-text item
//                 holds its plain text as one text value
//   rich_text(note_id, item_seq, paragraph, run, kind, content)
//       the runs of a rich-text item, in order; kind 0 text (content is the
//       text), 1 tab, 2 reference to an embedded object (content is its
//       name). An empty paragraph is one empty text run.
//   objects(object_id, note_id, kind, item_seq, name, size)
//       kind 0 file attachment (item_seq NULL; the document also has a
//       "$FILE" item naming it), kind 1 object embedded in the rich-text
//       item item_seq
//   object_chunks(chunk_id, object_id, chunk, data)
//       the object's bytes in chunks of kChunkSize (the last one shorter),
//       so objects larger than one SQLite value can be stored and streamed
//   views(view_id, name, aliases, selection, entry_count)
//       view_id is the design order; aliases a ValueCodec list of texts
//   view_columns(view_id, position, title, formula, sort)
//       sort: the two low bits 0 none, 1 ascending, 2 descending; bit 2
//       (4) a hidden column, bit 3 (8) a column shown on responses only
//   view_entries(view_id, position, note_id, column_values)
//       the materialised index: position is 1-based view order,
//       column_values one value per column (ValueCodec)
//   acl(name, level)   access levels 0 no access .. 6 manager; "-Default-"
//                      applies to every name without an entry of its own
#include "store/Sqlite.h"

#include <cstdint>

namespace velloran::notes::store {

inline constexpr std::int32_t kApplicationId = 0x564C4E53;  // "VLNS"
inline constexpr int kSchemaVersion = 1;
inline constexpr std::int64_t kChunkSize = 1 << 20;

// Creates every table of an empty database and stamps it as ours.
void createSchema(Connection& connection);

// Throws a Failure with a distinct message for an empty file, a file of
// another kind, a newer layout or a damaged file, and unusableDatabase when
// the file's tables and indexes are not exactly the ones createSchema makes.
void checkSchema(Connection& connection);

}  // namespace velloran::notes::store
