#pragma once
// Rows of a database file as the engine reads and writes them.
#include "api/NotesApi.h"
#include "store/EngineError.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velloran::notes::store {

// The item a response document keeps its parent's universal id in (type
// kNoteRefs); a document with it is a response.
inline constexpr const char* kParentLinkItem = "$REF";

struct NoteHeader {
    std::int64_t noteId = 0;
    std::string unid;
    std::int64_t created = 0;   // ms UTC
    std::int64_t modified = 0;  // ms UTC
};

// The values of a stored item. When its stored bytes are damaged it holds
// the reason instead and throws it on use, so the item still has a name and
// the other items of its document stay readable.
class ItemValues {
public:
    ItemValues() = default;
    ItemValues(ValueList values) : values_(std::move(values)) {}
    static ItemValues damaged(Failure reason) {
        ItemValues values;
        values.damage_ = std::move(reason);
        return values;
    }

    // Throws a Failure when the stored bytes are damaged.
    const ValueList& list() const {
        if (damage_) throw *damage_;
        return values_;
    }
    operator const ValueList&() const { return list(); }
    bool empty() const { return list().empty(); }

private:
    ValueList values_;
    std::optional<Failure> damage_;
};

struct StoredItem {
    int seq = 0;
    std::string name;
    int type = kText;
    int flags = 0;
    ItemValues values;
};

enum class ObjectKind { Attachment = 0, Embedded = 1 };

struct StoredObject {
    std::int64_t objectId = 0;
    std::string name;
    std::int64_t size = 0;
};

enum class RunKind { Text = 0, Tab = 1, Object = 2 };

struct RichTextRun {
    RunKind kind = RunKind::Text;
    std::string content;  // the text, or the embedded object's name
};

struct RichTextParagraph {
    std::vector<RichTextRun> runs;
};

using RichText = std::vector<RichTextParagraph>;

enum class SortOrder { None = 0, Ascending = 1, Descending = 2 };

struct ViewColumn {
    std::string title;
    std::string formula;
    SortOrder sort = SortOrder::None;
    // Not shown in the view: its values only order the entries.
    bool hidden = false;
    // Shows its value on response documents only, empty on the others.
    bool responsesOnly = false;
};

struct ViewDesign {
    std::int64_t viewId = 0;
    std::string name;
    std::vector<std::string> aliases;
    std::string selection;
    std::vector<ViewColumn> columns;
    std::int64_t entryCount = 0;
};

struct ViewEntry {
    std::int64_t position = 0;
    std::int64_t noteId = 0;
    ValueList columnValues;
};

// An entry of a view as a walk reads it, with what the walk asks of its
// document. Its column values are decoded when the entry is used, so that
// damage is reported for that entry only.
struct ListedEntry {
    std::int64_t position = 0;
    std::int64_t noteId = 0;
    std::vector<std::uint8_t> columnValues;
    // Nothing when the note is gone.
    std::optional<NoteHeader> header;
    bool hasObjects = false;
};

enum class AccessLevel { NoAccess = 0, Depositor, Reader, Author, Editor, Designer, Manager };

struct AclEntry {
    std::string name;
    AccessLevel level = AccessLevel::NoAccess;
};

}  // namespace velloran::notes::store
