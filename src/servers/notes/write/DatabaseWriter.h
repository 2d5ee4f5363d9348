#pragma once
// Writes a database file: everything added through one writer lands in one
// transaction, together with the rebuilt view indexes, or not at all.
#include "store/Sqlite.h"
#include "write/Inputs.h"

#include <memory>
#include <optional>
#include <string>

namespace velloran::notes::write {

class DatabaseWriter {
public:
    // Opens the database (creating it when the file does not exist, with
    // "-Default-" reader access) and starts the transaction.
    explicit DatabaseWriter(const std::string& path);
    ~DatabaseWriter();
    DatabaseWriter(const DatabaseWriter&) = delete;
    DatabaseWriter& operator=(const DatabaseWriter&) = delete;

    void setTitle(const std::string& title);
    // Returns the new document's note id.
    std::int64_t addNote(const NoteInput& note);
    // Adds the view, or replaces the design of the view of the same name.
    void addView(const ViewInput& view);
    // Replaces the whole access control list.
    void setAcl(const std::vector<store::AclEntry>& entries);
    // Rebuilds every view index and commits.
    void commit();

    store::Connection& connection() { return *connection_; }

private:
    std::string newUnid(std::int64_t noteId) const;
    void addItem(std::int64_t noteId, int seq, const ItemInput& item);
    void addRichText(std::int64_t noteId, int seq, const RichTextInput& richText);

    std::string path_;
    bool created_ = false;
    std::unique_ptr<store::Connection> connection_;
    std::optional<store::Transaction> transaction_;
    std::uint64_t unidSeed_ = 0;
};

}  // namespace velloran::notes::write
