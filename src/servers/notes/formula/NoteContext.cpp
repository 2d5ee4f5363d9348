#include "formula/NoteContext.h"

#include "text/Utf8.h"

namespace velloran::notes::formula {

const std::vector<store::StoredItem>& NoteContext::items() {
    if (!items_) items_ = std::make_shared<std::vector<store::StoredItem>>(notes_.items(header_.noteId));
    return *items_;
}

const store::StoredItem* NoteContext::findItem(std::string_view name) {
    for (const store::StoredItem& item : items())
        if (text::equalsIgnoringCase(item.name, name)) return &item;
    return nullptr;
}

std::shared_ptr<const store::StoredItem> NoteContext::share(const store::StoredItem& item) {
    return {items_, &item};
}

std::optional<ValueList> NoteContext::item(const std::string& name) {
    const store::StoredItem* found = findItem(name);
    if (!found) return std::nullopt;
    return found->values;
}

std::vector<store::StoredObject> NoteContext::attachments() {
    if (!attachments_) attachments_ = notes_.attachments(header_.noteId);
    return *attachments_;
}

}  // namespace velloran::notes::formula
