#pragma once
// Read queries on the views, their materialised indexes and the access
// control list of one database file.
#include "store/Records.h"
#include "store/Sqlite.h"

#include <optional>
#include <vector>

namespace velloran::notes::store {

// A column's sort order and flags as view_columns.sort keeps them (see
// Schema.h): files written before the flags hold the sort order alone.
std::int64_t columnCode(const ViewColumn& column);
ViewColumn columnOf(std::string title, std::string formula, std::int64_t code);

class ViewStore {
public:
    explicit ViewStore(Connection& connection) : connection_(connection) {}

    // Every view with its columns, in design order.
    std::vector<ViewDesign> views();
    // The view's number of entries as the file holds it now; nothing when
    // the view is no longer there.
    std::optional<std::int64_t> entryCount(std::int64_t viewId);
    // The entries from `first` on, at most `count`, with their notes: one
    // read for a stretch of a walk. Stops before a gap in the positions.
    std::vector<ListedEntry> entriesFrom(std::int64_t viewId, std::int64_t first, std::int64_t count);
    // An entry's column values; throws naming the entry when damaged.
    ValueList columnValues(const ListedEntry& entry) const;
    // Position of the note's first entry in the view; nothing when absent.
    std::optional<std::int64_t> positionOf(std::int64_t viewId, std::int64_t noteId);
    std::vector<AclEntry> acl();

private:
    std::vector<ViewColumn> columns(std::int64_t viewId);
    Connection& connection_;
};

}  // namespace velloran::notes::store
