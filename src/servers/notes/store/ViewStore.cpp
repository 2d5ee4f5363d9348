#include "store/ViewStore.h"

#include "store/ValueCodec.h"

namespace velloran::notes::store {

namespace {

std::vector<std::string> texts(const ValueList& values) {
    std::vector<std::string> out;
    for (const Value& value : values)
        if (auto* text = std::get_if<std::string>(&value)) out.push_back(*text);
    return out;
}

std::vector<std::string> aliases(const Statement& row, const std::string& path) {
    try {
        return texts(decodeValues(row.blob(2)));
    } catch (const DamagedValue& damage) {
        throw damage.of(msg::kDamagedAliases, {row.text(1), path});
    }
}

constexpr std::int64_t kSortBits = 3, kHiddenBit = 4, kResponsesOnlyBit = 8;

SortOrder sortOrder(std::int64_t code) {
    return code == 1 ? SortOrder::Ascending : code == 2 ? SortOrder::Descending : SortOrder::None;
}

}  // namespace

std::int64_t columnCode(const ViewColumn& column) {
    return static_cast<int>(column.sort) | (column.hidden ? kHiddenBit : 0) |
           (column.responsesOnly ? kResponsesOnlyBit : 0);
}

ViewColumn columnOf(std::string title, std::string formula, std::int64_t code) {
    return {std::move(title), std::move(formula), sortOrder(code & kSortBits), (code & kHiddenBit) != 0,
            (code & kResponsesOnlyBit) != 0};
}

std::vector<ViewDesign> ViewStore::views() {
    std::vector<ViewDesign> designs;
    {
        Statement statement = connection_.cached(
            "SELECT view_id, name, aliases, selection, entry_count FROM views ORDER BY view_id");
        while (statement.step())
            designs.push_back({statement.integer(0), statement.text(1), aliases(statement, connection_.path()),
                               statement.text(3), {}, statement.integer(4)});
    }
    for (ViewDesign& design : designs) design.columns = columns(design.viewId);
    return designs;
}

std::vector<ViewColumn> ViewStore::columns(std::int64_t viewId) {
    Statement statement = connection_.cached(
        "SELECT title, formula, sort FROM view_columns WHERE view_id = ? ORDER BY position");
    statement.bind(1, viewId);
    std::vector<ViewColumn> columns;
    while (statement.step()) columns.push_back(columnOf(statement.text(0), statement.text(1), statement.integer(2)));
    return columns;
}

std::optional<std::int64_t> ViewStore::entryCount(std::int64_t viewId) {
    Statement statement = connection_.cached("SELECT entry_count FROM views WHERE view_id = ?");
    statement.bind(1, viewId);
    if (!statement.step()) return std::nullopt;
    return statement.integer(0);
}

std::vector<ListedEntry> ViewStore::entriesFrom(std::int64_t viewId, std::int64_t first, std::int64_t count) {
    Statement statement = connection_.cached(
        "SELECT e.position, e.note_id, e.column_values, n.note_id, n.unid, n.created, n.modified, "
        "EXISTS (SELECT 1 FROM objects o WHERE o.note_id = e.note_id) "
        "FROM view_entries e LEFT JOIN notes n ON n.note_id = e.note_id "
        "WHERE e.view_id = ? AND e.position >= ? AND e.position < ? ORDER BY e.position");
    statement.bind(1, viewId).bind(2, first).bind(3, first + count);
    std::vector<ListedEntry> entries;
    while (statement.step() && statement.integer(0) == first + static_cast<std::int64_t>(entries.size())) {
        std::span<const std::uint8_t> values = statement.blob(2);
        ListedEntry& entry = entries.emplace_back();
        entry.position = statement.integer(0);
        entry.noteId = statement.integer(1);
        entry.columnValues.assign(values.begin(), values.end());
        if (!statement.isNull(3))
            entry.header = NoteHeader{statement.integer(3), statement.text(4), statement.integer(5), statement.integer(6)};
        entry.hasObjects = statement.integer(7) != 0;
    }
    return entries;
}

ValueList ViewStore::columnValues(const ListedEntry& entry) const {
    try {
        return decodeValues(entry.columnValues);
    } catch (const DamagedValue& damage) {
        throw damage.of(msg::kDamagedEntry, {std::to_string(entry.position), connection_.path()});
    }
}

std::optional<std::int64_t> ViewStore::positionOf(std::int64_t viewId, std::int64_t noteId) {
    Statement statement = connection_.cached(
        "SELECT min(position) FROM view_entries WHERE view_id = ? AND note_id = ?");
    statement.bind(1, viewId).bind(2, noteId);
    if (!statement.step() || statement.isNull(0)) return std::nullopt;
    return statement.integer(0);
}

std::vector<AclEntry> ViewStore::acl() {
    Statement statement = connection_.cached("SELECT name, level FROM acl ORDER BY name");
    std::vector<AclEntry> entries;
    while (statement.step()) {
        std::int64_t level = statement.integer(1);
        if (level < 0 || level > static_cast<int>(AccessLevel::Manager))
            throw engineFailure(msg::kDamagedAcl, {connection_.path()});
        entries.push_back({statement.text(0), static_cast<AccessLevel>(level)});
    }
    return entries;
}

}  // namespace velloran::notes::store
