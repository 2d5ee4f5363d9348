#pragma once
// What a formula can ask of the document it is evaluated for.
#include "store/Records.h"
#include "values/ValueText.h"

#include <optional>
#include <string>
#include <vector>

namespace velloran::notes::formula {

class Context {
public:
    virtual ~Context() = default;
    // Values of the first item of this name (letter case ignored); nothing
    // when the document has no such item or there is no document.
    virtual std::optional<ValueList> item(const std::string& name) = 0;
    // Null when the formula runs without a document.
    virtual const store::NoteHeader* note() = 0;
    virtual std::vector<store::StoredObject> attachments() = 0;
    // The zone @Text writes date-times in: local time, as everything the
    // user sees, but UTC where the text is stored (see NoteContext).
    virtual platform::TimeZone dateTextZone() const { return platform::TimeZone::Local; }
};

// The context of a formula evaluated without a document.
class NoDocument : public Context {
public:
    std::optional<ValueList> item(const std::string&) override { return std::nullopt; }
    const store::NoteHeader* note() override { return nullptr; }
    std::vector<store::StoredObject> attachments() override { return {}; }
};

}  // namespace velloran::notes::formula
