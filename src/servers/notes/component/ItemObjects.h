#pragma once
#include "api/NotesApi.h"
#include "component/OpenDatabase.h"

#include <memory>
#include <optional>

namespace velloran::notes::component {

// What every item object answers, whether rich text or not. The item is
// shared with the document's items, not copied.
template <typename Interface>
class StoredItemObject : public Interface {
public:
    using ItemRef = std::shared_ptr<const store::StoredItem>;

    StoredItemObject(OpenDatabasePtr database, std::int64_t noteId, ItemRef item)
        : database_(std::move(database)), noteId_(noteId), item_(std::move(item)) {}

    std::string Name() override { return item_->name; }
    int Type() override { return item_->type; }
    ValueList Values() override { return item_->values; }

protected:
    OpenDatabasePtr database_;
    std::int64_t noteId_;
    ItemRef item_;
};

class ItemObject : public StoredItemObject<Item> {
public:
    using StoredItemObject::StoredItemObject;
    RichTextItemPtr AsRichText() override { return nullptr; }
};

class RichTextItemObject : public StoredItemObject<RichTextItem>,
                           public std::enable_shared_from_this<RichTextItemObject> {
public:
    using StoredItemObject::StoredItemObject;
    RichTextItemPtr AsRichText() override { return shared_from_this(); }
    std::string GetFormattedText(bool stripTabs, int lineLength) override;
    StringList EmbeddedObjects() override;
    EmbeddedObjectPtr GetEmbeddedObject(const std::string& name) override;

private:
    const store::RichText& richText();
    std::optional<store::RichText> richText_;
};

// An item object of the right kind for the stored item.
ItemPtr makeItemObject(OpenDatabasePtr database, std::int64_t noteId, std::shared_ptr<const store::StoredItem> item);

class EmbeddedObjectImpl : public EmbeddedObject {
public:
    EmbeddedObjectImpl(OpenDatabasePtr database, store::StoredObject object)
        : database_(std::move(database)), object_(std::move(object)) {}
    std::string Name() override { return object_.name; }
    std::int64_t FileSize() override { return object_.size; }
    void ExtractFile(const std::string& path) override;

private:
    OpenDatabasePtr database_;
    store::StoredObject object_;
};

}  // namespace velloran::notes::component
