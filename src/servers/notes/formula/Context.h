#pragma once
// What a formula can ask of the document it is evaluated for.
#include "store/Records.h"
#include "values/ValueText.h"

#include <chrono>
#include <cstdint>
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
    // What @Now reads: milliseconds since 1970, UTC.
    virtual std::int64_t now() const {
        using namespace std::chrono;
        return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    }
    // The user the formula runs for; none when it runs for no one, as when a
    // view index is built.
    virtual std::string userName() const { return {}; }
    // The names of the document's authors: its author-type items, else its
    // From item; nothing when there are none.
    virtual ValueList authors() { return item("From").value_or(ValueList{}); }
    // The document's size in bytes; 0 without a document.
    virtual double documentLength() { return 0; }
};

// The context of a formula evaluated without a document.
class NoDocument : public Context {
public:
    std::optional<ValueList> item(const std::string&) override { return std::nullopt; }
    const store::NoteHeader* note() override { return nullptr; }
    std::vector<store::StoredObject> attachments() override { return {}; }
};

}  // namespace velloran::notes::formula
