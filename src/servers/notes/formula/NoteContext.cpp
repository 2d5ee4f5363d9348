#include "formula/NoteContext.h"

#include <algorithm>
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

ValueList NoteContext::authors() {
    ValueList names;
    for (const store::StoredItem& item : items())
        if (item.type == kAuthors) names.insert(names.end(), item.values.list().begin(), item.values.list().end());
    return names.empty() ? Context::authors() : names;
}

namespace {

// Text by its bytes, numbers and date-times by the 8 bytes they are kept in.
double valueBytes(const Value& value) {
    auto* text = std::get_if<std::string>(&value);
    return text ? static_cast<double>(text->size()) : 8;
}

}  // namespace

double NoteContext::documentLength() {
    // Summed as a double: sizes read from a damaged file cannot overflow it.
    double length = 0;
    for (const store::StoredItem& item : items()) {
        length += static_cast<double>(item.name.size());
        for (const Value& value : item.values.list()) length += valueBytes(value);
    }
    for (const store::StoredObject& object : attachments()) length += static_cast<double>(std::max<std::int64_t>(object.size, 0));
    return length;
}

std::vector<store::StoredObject> NoteContext::attachments() {
    if (!attachments_) attachments_ = notes_.attachments(header_.noteId);
    return *attachments_;
}

}  // namespace velloran::notes::formula
