#include "write/DatabaseWriter.h"

#include "store/NsfFile.h"
#include "store/Schema.h"
#include "store/ValueCodec.h"
#include "store/ViewStore.h"
#include "text/FormattedText.h"
#include "write/ObjectWriter.h"
#include "write/ViewFormulas.h"
#include "write/ViewIndexer.h"

#include <cstdio>
#include <filesystem>
#include <set>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velloran::notes::write {

namespace {

std::uint64_t mix(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

std::uint64_t nameSeed(const std::string& path) {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (unsigned char c : std::filesystem::path(path).filename().string()) hash = (hash ^ c) * 0x100000001b3ull;
    return hash;
}

void checkRichTextObjects(const ItemInput& item) {
    std::set<std::string> given;
    for (const ObjectInput& object : item.richText.objects) given.insert(object.name);
    for (const store::RichTextParagraph& paragraph : item.richText.paragraphs)
        for (const store::RichTextRun& run : paragraph.runs)
            if (run.kind == store::RunKind::Object && !given.count(run.content))
                throw engineFailure(msg::kMissingObject, {item.name, run.content});
}

// The attachments whose "$FILE" item is among the document's own items, so
// that it keeps its place there instead of being added after them.
std::set<std::string> placedAttachments(const std::vector<ItemInput>& items) {
    std::set<std::string> placed;
    for (const ItemInput& item : items)
        if (item.type == kAttachment && item.name == "$FILE")
            for (const Value& value : item.values)
                if (auto* name = std::get_if<std::string>(&value)) placed.insert(*name);
    return placed;
}

// Opens the empty file as a new database and lays out its tables.
std::unique_ptr<store::Connection> openNewDatabase(const std::string& file) {
    auto connection = std::make_unique<store::Connection>(file, store::Connection::Mode::ReadWrite);
    store::createSchema(*connection);
    return connection;
}

}  // namespace

mode_t newDatabaseMode(const std::string& path) {
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    struct stat info {};
    const bool groupShared = ::stat(folder.empty() ? "." : folder.c_str(), &info) == 0 && (info.st_mode & S_ISGID);
    return groupShared ? 0640 : 0600;
}

DatabaseWriter::DatabaseWriter(const std::string& path, std::optional<mode_t> newFileMode, Existing existing)
    : path_(path), unidSeed_(nameSeed(path)) {
    struct stat current {};
    const bool exists = ::stat(path.c_str(), &current) == 0;
    if (exists && existing == Existing::Add) {
        connection_ = store::openForWriting(path);
        transaction_.emplace(*connection_);
        return;
    }
    try {
        building_.emplace(path, newFileMode ? *newFileMode : newDatabaseMode(path), exists ? platform::AtTarget::Replace : platform::AtTarget::Keep);
    } catch (const Failure& e) {
        if (!e.is(Failure::Kind::File)) throw;
        throw engineFailure(Failure::Kind::Database, msg::kCannotCreateFile, {path, e.original()}, e.error());
    }
    building_->holdsDatabase();
    try {
        connection_ = openNewDatabase(building_->temporaryPath());
        transaction_.emplace(*connection_);
        setAcl({{"-Default-", store::AccessLevel::Reader}});
    } catch (...) {
        close();
        throw;
    }
}

DatabaseWriter::~DatabaseWriter() { close(); }

void DatabaseWriter::close() {
    transaction_.reset();
    connection_.reset();
    // Only now, with the database closed: closing the build file's lock
    // would also drop the database's own record locks on it.
    building_.reset();
}

store::Connection& DatabaseWriter::open() {
    if (!connection_) throw engineFailure(msg::kAlreadyWritten, {path_});
    return *connection_;
}

void DatabaseWriter::setTitle(const std::string& title) {
    open().cached("INSERT OR REPLACE INTO database_info (key, value) VALUES ('title', ?)").bind(1, title).run();
}

std::string DatabaseWriter::newUnid(std::int64_t noteId) const {
    char unid[33];
    std::uint64_t id = static_cast<std::uint64_t>(noteId);
    std::snprintf(unid, sizeof unid, "%016llX%016llX", static_cast<unsigned long long>(mix(unidSeed_ ^ id)),
                  static_cast<unsigned long long>(mix(unidSeed_ + id * 0xD6E8FEB86659FD93ull)));
    return unid;
}

std::int64_t DatabaseWriter::addNote(const NoteInput& note) {
    store::Statement next = open().cached("SELECT coalesce(max(note_id), 0) + 1 FROM notes");
    next.step();
    std::int64_t noteId = next.integer(0);
    std::string unid = note.unid.empty() ? newUnid(noteId) : note.unid;
    if (unid.size() != 32 || unid.find_first_not_of("0123456789ABCDEFabcdef") != std::string::npos)
        throw engineFailure(msg::kNotUniversalId, {unid});
    open().cached("INSERT INTO notes (note_id, unid, created, modified) VALUES (?, upper(?), ?, ?)")
        .bind(1, noteId).bind(2, unid).bind(3, note.created).bind(4, note.modified).run();
    int seq = 0;
    for (const ItemInput& item : note.items) addItem(noteId, seq++, item);
    std::set<std::string> placed = placedAttachments(note.items);
    for (const ObjectInput& attachment : note.attachments) {
        if (!placed.count(attachment.name)) addItem(noteId, seq++, {"$FILE", kAttachment, 0, {attachment.name}, {}});
        storeObject(open(), {noteId, store::ObjectKind::Attachment, -1}, attachment);
    }
    return noteId;
}

void DatabaseWriter::addItem(std::int64_t noteId, int seq, const ItemInput& item) {
    if (item.name.empty()) throw engineFailure(msg::kItemWithoutName);
    ValueList values = item.values;
    if (item.type == kRichText) {
        checkRichTextObjects(item);
        values = {text::formatRichText(item.richText.paragraphs, false, 0)};
        addRichText(noteId, seq, item.richText);
    }
    open().cached("INSERT INTO items (note_id, seq, name, type, flags, vals) VALUES (?, ?, ?, ?, ?, ?)")
        .bind(1, noteId).bind(2, std::int64_t{seq}).bind(3, item.name).bind(4, std::int64_t{item.type})
        .bind(5, std::int64_t{item.flags}).bindBlob(6, store::encodeValues(values)).run();
}

void DatabaseWriter::setItem(std::int64_t noteId, const ItemInput& item, std::int64_t modified) {
    if (item.type == kRichText) throw std::logic_error("rich text items are written whole with their document");
    store::Statement note = open().cached("SELECT max(seq) FROM items WHERE note_id = ?");
    note.bind(1, noteId);
    if (!note.step() || note.isNull(0)) throw engineFailure(msg::kNoSuchNote, {std::to_string(noteId)});
    const std::int64_t lastSeq = note.integer(0);
    open().cached("UPDATE items SET type = ?, flags = ?, vals = ? WHERE note_id = ? AND name = ? COLLATE NOCASE")
        .bind(1, std::int64_t{item.type}).bind(2, std::int64_t{item.flags}).bindBlob(3, store::encodeValues(item.values))
        .bind(4, noteId).bind(5, item.name).run();
    if (sqlite3_changes(open().handle()) == 0) addItem(noteId, static_cast<int>(lastSeq + 1), item);
    open().cached("UPDATE notes SET modified = ? WHERE note_id = ?").bind(1, modified).bind(2, noteId).run();
}

void DatabaseWriter::addRichText(std::int64_t noteId, int seq, const RichTextInput& richText) {
    for (std::size_t p = 0; p < richText.paragraphs.size(); ++p) {
        const auto& runs = richText.paragraphs[p].runs;
        std::vector<store::RichTextRun> stored = runs.empty() ? std::vector<store::RichTextRun>{{}} : runs;
        for (std::size_t r = 0; r < stored.size(); ++r)
            open().cached(
                    "INSERT INTO rich_text (note_id, item_seq, paragraph, run, kind, content) VALUES (?, ?, ?, ?, ?, ?)")
                .bind(1, noteId).bind(2, std::int64_t{seq}).bind(3, static_cast<std::int64_t>(p))
                .bind(4, static_cast<std::int64_t>(r)).bind(5, std::int64_t{static_cast<int>(stored[r].kind)})
                .bind(6, stored[r].content).run();
    }
    for (const ObjectInput& object : richText.objects)
        storeObject(open(), {noteId, store::ObjectKind::Embedded, seq}, object);
}

void DatabaseWriter::addView(const ViewInput& view) {
    if (view.name.empty()) throw engineFailure(msg::kViewWithoutName);
    checkViewFormulas(view.name, view.selection, view.columns);
    storeView(view);
}

std::optional<std::string> DatabaseWriter::keepView(const ViewInput& view) {
    if (view.name.empty()) throw engineFailure(msg::kViewWithoutName);
    std::optional<std::string> unreadable;
    try {
        checkViewFormulas(view.name, view.selection, view.columns);
    } catch (const Failure& e) {
        if (!e.fromEngine()) throw;
        unreadable = e.what();
    }
    storeView(view);
    return unreadable;
}

void DatabaseWriter::storeView(const ViewInput& view) {
    store::Statement existing = open().cached("SELECT view_id FROM views WHERE name = ? COLLATE NOCASE");
    existing.bind(1, view.name);
    std::optional<std::int64_t> viewId;
    if (existing.step()) viewId = existing.integer(0);
    ValueList aliases(view.aliases.begin(), view.aliases.end());
    store::Statement upsert = open().cached(
        "INSERT OR REPLACE INTO views (view_id, name, aliases, selection, entry_count) VALUES (?, ?, ?, ?, 0)");
    if (viewId) upsert.bind(1, *viewId);
    upsert.bind(2, view.name).bindBlob(3, store::encodeValues(aliases)).bind(4, view.selection).run();
    std::int64_t id = viewId.value_or(open().lastInsertId());
    open().cached("DELETE FROM view_columns WHERE view_id = ?").bind(1, id).run();
    for (std::size_t i = 0; i < view.columns.size(); ++i)
        open().cached("INSERT INTO view_columns (view_id, position, title, formula, sort) VALUES (?, ?, ?, ?, ?)")
            .bind(1, id).bind(2, static_cast<std::int64_t>(i)).bind(3, view.columns[i].title)
            .bind(4, view.columns[i].formula).bind(5, store::columnCode(view.columns[i])).run();
}

void DatabaseWriter::setAcl(const std::vector<store::AclEntry>& entries) {
    open().execute("DELETE FROM acl");
    for (const store::AclEntry& entry : entries)
        open().cached("INSERT OR REPLACE INTO acl (name, level) VALUES (?, ?)")
            .bind(1, entry.name).bind(2, std::int64_t{static_cast<int>(entry.level)}).run();
}

ViewIndexReport DatabaseWriter::commit() {
    ViewIndexReport report = rebuildViewIndexes(open());
    transaction_->commit();
    transaction_.reset();
    connection_.reset();
    if (!building_) return report;
    try {
        building_->commit(platform::SyncToDisk::Yes);
    } catch (const Failure& e) {
        if (!e.is(Failure::Kind::File)) throw;
        building_.reset();
        throw engineFailure(Failure::Kind::Database, msg::kCannotRename, {path_, e.original()}, e.error());
    }
    building_.reset();
    return report;
}

}  // namespace velloran::notes::write
