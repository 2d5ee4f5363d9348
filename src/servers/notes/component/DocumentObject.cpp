#include "component/DocumentObject.h"

#include "access/Directory.h"
#include "component/ItemObjects.h"
#include "text/Utf8.h"

#include <algorithm>
#include <limits>

namespace velloran::notes::component {

bool isPasswordHash(const Value& value) {
    const auto* text = std::get_if<std::string>(&value);
    return text && access::holdsPasswordHash(*text);
}

bool VisibleNote::hidden(const store::StoredItem& item) const {
    if (inDirectory_ && text::equalsIgnoringCase(item.name, access::kPasswordItem)) return true;
    try {
        const ValueList& values = item.values.list();
        return std::any_of(values.begin(), values.end(), isPasswordHash);
    } catch (const Failure& e) {
        if (!e.fromEngine()) throw;
        // Damaged values show nothing: reading them throws the damage.
        return false;
    }
}

const std::vector<const store::StoredItem*>& VisibleNote::items() {
    if (!shown_) {
        shown_.emplace();
        for (const store::StoredItem& item : note_.items())
            if (!hidden(item)) shown_->push_back(&item);
    }
    return *shown_;
}

const store::StoredItem* VisibleNote::findItem(std::string_view name, int occurrence) {
    for (const store::StoredItem* item : items())
        if (text::equalsIgnoringCase(item->name, name) && --occurrence == 0) return item;
    return nullptr;
}

std::optional<ValueList> VisibleNote::item(const std::string& name) {
    const store::StoredItem* found = findItem(name);
    if (!found) return std::nullopt;
    return found->values;
}

DocumentObject::DocumentObject(OpenDatabasePtr database, store::NoteHeader header, std::optional<ViewPlace> place)
    : database_(std::move(database)),
      note_(database_->notes, std::move(header), database_->isDirectory),
      place_(std::move(place)) {}

std::string DocumentObject::UniversalID() { return note_.header().unid; }

std::int32_t DocumentObject::NoteID() {
    std::int64_t id = note_.header().noteId;
    if (id > std::numeric_limits<std::int32_t>::max()) throw engineFailure(msg::kNoteIdTooLarge, {std::to_string(id)});
    return static_cast<std::int32_t>(id);
}

DateTime DocumentObject::Created() { return {note_.header().created, true}; }

DateTime DocumentObject::LastModified() { return {note_.header().modified, true}; }

ValueList DocumentObject::ColumnValues() { return place_ ? place_->columnValues : ValueList{}; }

StringList DocumentObject::Items() {
    StringList names;
    for (const store::StoredItem* item : note_.items()) names.push_back(item->name);
    return names;
}

ValueList DocumentObject::GetItemValue(const std::string& name) {
    const store::StoredItem* item = note_.findItem(name);
    if (!item || item->values.empty()) return {std::string()};
    return item->values;
}

bool DocumentObject::HasEmbedded() {
    return place_ ? place_->hasObjects : database_->notes.hasObjects(note_.header().noteId);
}

EmbeddedObjectPtr DocumentObject::GetAttachment(const std::string& fileName) {
    std::optional<store::StoredObject> object = database_->notes.attachment(note_.header().noteId, fileName);
    if (!object) return nullptr;
    return std::make_shared<EmbeddedObjectImpl>(database_, std::move(*object));
}

ItemPtr DocumentObject::GetFirstItem(const std::string& name) { return GetNthItem(name, 1); }

ItemPtr DocumentObject::GetNthItem(const std::string& name, int occurrence) {
    const store::StoredItem* item = note_.findItem(name, occurrence);
    if (!item) return nullptr;
    return makeItemObject(database_, note_.header().noteId, note_.share(*item));
}

}  // namespace velloran::notes::component
