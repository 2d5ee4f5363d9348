#pragma once
// Read queries on the documents of one database file.
#include "store/Records.h"
#include "store/Sqlite.h"

#include <optional>
#include <string>
#include <vector>

namespace velloran::notes::store {

class NoteStore {
public:
    explicit NoteStore(Connection& connection) : connection_(connection) {}

    std::optional<NoteHeader> header(std::int64_t noteId);
    std::optional<NoteHeader> headerByUnid(const std::string& unid);
    // Items in document order.
    std::vector<StoredItem> items(std::int64_t noteId);
    RichText richText(std::int64_t noteId, int itemSeq);
    // File attachments in the order they were added.
    std::vector<StoredObject> attachments(std::int64_t noteId);
    std::optional<StoredObject> attachment(std::int64_t noteId, const std::string& name);
    std::optional<StoredObject> embeddedObject(std::int64_t noteId, int itemSeq, const std::string& name);
    bool hasObjects(std::int64_t noteId);
    // Every note id, ascending.
    std::vector<std::int64_t> noteIds();
    std::string title();

private:
    Connection& connection_;
};

}  // namespace velloran::notes::store
