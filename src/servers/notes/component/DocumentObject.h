#pragma once
#include "api/NotesApi.h"
#include "component/OpenDatabase.h"
#include "formula/NoteContext.h"

#include <memory>
#include <optional>
#include <string_view>

namespace velloran::notes::component {

// A stored document as sessions see it: password hashes are left out. An
// item whose value holds a hash is hidden in every database, and in the
// installation's directory every HTTPPassword item is, whatever it holds.
// Logins read the hashes through access/Directory, never through here.
class VisibleNote : public formula::Context {
public:
    VisibleNote(store::NoteStore& notes, store::NoteHeader header, bool inDirectory)
        : note_(notes, std::move(header)), inDirectory_(inDirectory) {}

    std::optional<ValueList> item(const std::string& name) override;
    const store::NoteHeader* note() override { return note_.note(); }
    std::vector<store::StoredObject> attachments() override { return note_.attachments(); }
    platform::TimeZone dateTextZone() const override { return note_.dateTextZone(); }

    const store::NoteHeader& header() const { return note_.header(); }
    // The items shown, in document order.
    const std::vector<const store::StoredItem*>& items();
    // The `occurrence`-th shown item of this name (from 1, letter case
    // ignored); null when there are fewer.
    const store::StoredItem* findItem(std::string_view name, int occurrence = 1);
    // `item`, one of items(), for an object that may outlive this note.
    std::shared_ptr<const store::StoredItem> share(const store::StoredItem& item) { return note_.share(item); }

private:
    bool hidden(const store::StoredItem& item) const;

    formula::NoteContext note_;
    bool inDirectory_;
    std::optional<std::vector<const store::StoredItem*>> shown_;
};

// True for a text value that holds a password hash.
bool isPasswordHash(const Value& value);

// Where a document was reached through a view.
struct ViewPlace {
    std::int64_t viewId = 0;
    std::int64_t position = 0;
    ValueList columnValues;
    // Whether the document held objects when its entry was read.
    bool hasObjects = false;
};

class DocumentObject : public Document {
public:
    DocumentObject(OpenDatabasePtr database, store::NoteHeader header, std::optional<ViewPlace> place = std::nullopt);

    std::string UniversalID() override;
    std::int32_t NoteID() override;
    DateTime Created() override;
    DateTime LastModified() override;
    ValueList ColumnValues() override;
    StringList Items() override;
    ValueList GetItemValue(const std::string& name) override;
    bool HasEmbedded() override;
    EmbeddedObjectPtr GetAttachment(const std::string& fileName) override;
    ItemPtr GetFirstItem(const std::string& name) override;
    ItemPtr GetNthItem(const std::string& name, int occurrence) override;

    const OpenDatabasePtr& database() const { return database_; }
    VisibleNote& context() { return note_; }
    const std::optional<ViewPlace>& place() const { return place_; }

private:
    OpenDatabasePtr database_;
    VisibleNote note_;
    std::optional<ViewPlace> place_;
};

}  // namespace velloran::notes::component
