#pragma once
// One stored document as a formula context. Items and attachments are read
// on first use and kept for the life of the object. A view index keeps the
// texts its formulas make, so it evaluates with UTC date texts: the stored
// index then does not depend on the time zone of the machine that built it.
#include "formula/Context.h"
#include "store/NoteStore.h"

#include <memory>
#include <optional>
#include <string_view>

namespace velloran::notes::formula {

class NoteContext : public Context {
public:
    NoteContext(store::NoteStore& notes, store::NoteHeader header,
                platform::TimeZone dateTextZone = platform::TimeZone::Local)
        : notes_(notes), header_(std::move(header)), dateTextZone_(dateTextZone) {}

    std::optional<ValueList> item(const std::string& name) override;
    const store::NoteHeader* note() override { return &header_; }
    std::vector<store::StoredObject> attachments() override;
    platform::TimeZone dateTextZone() const override { return dateTextZone_; }
    ValueList authors() override;
    // Item names and values and attachment sizes together.
    double documentLength() override;

    const store::NoteHeader& header() const { return header_; }
    const std::vector<store::StoredItem>& items();
    // The first item of this name (letter case ignored); null when absent.
    const store::StoredItem* findItem(std::string_view name);
    // `item`, one of items(), kept alive for the holder of the result
    // however long this context lives, without a copy.
    std::shared_ptr<const store::StoredItem> share(const store::StoredItem& item);

private:
    store::NoteStore& notes_;
    store::NoteHeader header_;
    platform::TimeZone dateTextZone_;
    // Shared with the item objects made from it (see share).
    std::shared_ptr<const std::vector<store::StoredItem>> items_;
    std::optional<std::vector<store::StoredObject>> attachments_;
};

}  // namespace velloran::notes::formula
