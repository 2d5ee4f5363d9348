#include "store/NoteStore.h"

#include "store/ValueCodec.h"

namespace velloran::notes::store {

namespace {

NoteHeader readHeader(const Statement& row) {
    return {row.integer(0), row.text(1), row.integer(2), row.integer(3)};
}

// A damaged value makes only its own item unreadable.
ItemValues readItemValues(const Statement& row, std::int64_t noteId, const std::string& path) {
    try {
        return decodeValues(row.blob(4));
    } catch (const DamagedValue& damage) {
        return ItemValues::damaged(damage.of(msg::kDamagedItem, {row.text(1), std::to_string(noteId), path}));
    }
}

StoredObject readObject(const Statement& row) { return {row.integer(0), row.text(1), row.integer(2)}; }

std::optional<StoredObject> firstObject(Statement& statement) {
    if (!statement.step()) return std::nullopt;
    return readObject(statement);
}

}  // namespace

std::optional<NoteHeader> NoteStore::header(std::int64_t noteId) {
    Statement statement = connection_.cached("SELECT note_id, unid, created, modified FROM notes WHERE note_id = ?");
    statement.bind(1, noteId);
    if (!statement.step()) return std::nullopt;
    return readHeader(statement);
}

std::optional<NoteHeader> NoteStore::headerByUnid(const std::string& unid) {
    Statement statement = connection_.cached("SELECT note_id, unid, created, modified FROM notes WHERE unid = ?");
    statement.bind(1, unid);
    if (!statement.step()) return std::nullopt;
    return readHeader(statement);
}

std::vector<StoredItem> NoteStore::items(std::int64_t noteId) {
    Statement statement =
        connection_.cached("SELECT seq, name, type, flags, vals FROM items WHERE note_id = ? ORDER BY seq");
    statement.bind(1, noteId);
    std::vector<StoredItem> items;
    while (statement.step())
        items.push_back({static_cast<int>(statement.integer(0)), statement.text(1), static_cast<int>(statement.integer(2)),
                         static_cast<int>(statement.integer(3)), readItemValues(statement, noteId, connection_.path())});
    return items;
}

RichText NoteStore::richText(std::int64_t noteId, int itemSeq) {
    Statement statement = connection_.cached(
        "SELECT paragraph, kind, content FROM rich_text WHERE note_id = ? AND item_seq = ? ORDER BY paragraph, run");
    statement.bind(1, noteId).bind(2, std::int64_t{itemSeq});
    RichText text;
    std::int64_t current = -1;
    while (statement.step()) {
        if (statement.integer(0) != current) {
            current = statement.integer(0);
            text.emplace_back();
        }
        std::int64_t kind = statement.integer(1);
        if (kind < 0 || kind > static_cast<int>(RunKind::Object))
            throw engineFailure(msg::kDamagedRichText, {connection_.path()});
        text.back().runs.push_back({static_cast<RunKind>(kind), statement.text(2)});
    }
    return text;
}

std::vector<StoredObject> NoteStore::attachments(std::int64_t noteId) {
    Statement statement = connection_.cached(
        "SELECT object_id, name, size FROM objects WHERE note_id = ? AND kind = 0 ORDER BY object_id");
    statement.bind(1, noteId);
    std::vector<StoredObject> objects;
    while (statement.step()) objects.push_back(readObject(statement));
    return objects;
}

std::optional<StoredObject> NoteStore::attachment(std::int64_t noteId, const std::string& name) {
    Statement statement = connection_.cached(
        "SELECT object_id, name, size FROM objects WHERE note_id = ? AND kind = 0 AND name = ? "
        "ORDER BY object_id LIMIT 1");
    statement.bind(1, noteId).bind(2, name);
    return firstObject(statement);
}

std::optional<StoredObject> NoteStore::embeddedObject(std::int64_t noteId, int itemSeq, const std::string& name) {
    Statement statement = connection_.cached(
        "SELECT object_id, name, size FROM objects WHERE note_id = ? AND kind = 1 AND item_seq = ? AND name = ? "
        "ORDER BY object_id LIMIT 1");
    statement.bind(1, noteId).bind(2, std::int64_t{itemSeq}).bind(3, name);
    return firstObject(statement);
}

bool NoteStore::hasObjects(std::int64_t noteId) {
    Statement statement = connection_.cached("SELECT 1 FROM objects WHERE note_id = ? LIMIT 1");
    statement.bind(1, noteId);
    return statement.step();
}

std::vector<std::int64_t> NoteStore::noteIds() {
    Statement statement = connection_.cached("SELECT note_id FROM notes ORDER BY note_id");
    std::vector<std::int64_t> ids;
    while (statement.step()) ids.push_back(statement.integer(0));
    return ids;
}

std::string NoteStore::title() {
    Statement statement = connection_.cached("SELECT value FROM database_info WHERE key = 'title'");
    return statement.step() ? statement.text(0) : std::string();
}

}  // namespace velloran::notes::store
