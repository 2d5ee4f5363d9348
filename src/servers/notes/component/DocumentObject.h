#pragma once
#include "api/NotesApi.h"
#include "component/OpenDatabase.h"
#include "formula/NoteContext.h"

#include <optional>

namespace velloran::notes::component {

// Where a document was reached through a view.
struct ViewPlace {
    std::int64_t viewId = 0;
    std::int64_t position = 0;
    ValueList columnValues;
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

    const OpenDatabasePtr& database() const { return database_; }
    formula::NoteContext& context() { return note_; }
    const std::optional<ViewPlace>& place() const { return place_; }

private:
    OpenDatabasePtr database_;
    formula::NoteContext note_;
    std::optional<ViewPlace> place_;
};

}  // namespace velloran::notes::component
