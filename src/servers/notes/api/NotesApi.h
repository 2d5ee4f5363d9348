#pragma once
// Public interface of the document-database component (installed as
// nlsxbe.dll in the program folder). The program reaches every database
// through these abstract classes; the component library implements them.
//
// Conventions shared by every class:
// - text is UTF-8;
// - a failed operation throws a platform::Failure whose what() is a message
//   a person can act on, in Chinese, and whose original() is the English
//   text with the technical detail, for diagnostics;
// - "nothing" results (no such document, item or attachment) are null
//   pointers where the operation says so; everything else that is absent is
//   an error.
#include "component/ComponentObject.h"
#include "errors/Failure.h"

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace velloran::notes {

// Class id of the session class, the only class that can be created
// directly; every other object comes from a session.
inline constexpr const char* kSessionClassId = "{29131539-2EED-1069-BF5D-00DD011186B7}";

// Item type codes, as stored in databases.
enum ItemType : int {
    // Bytes kept as they came (as base64 text), not readable as values.
    kRawData = 0,
    kRichText = 1,
    // A response's link to its parent: the parent's universal ID as text,
    // in the item "$REF".
    kNoteRefs = 4,
    kNumber = 768,
    kDateTime = 1024,
    kAttachment = 1084,
    kText = 1280,
    kAuthors = 1076,
    kNames = 1074,
    kReaders = 1075,
};

// A moment in time. Date-only values carry the date's midnight in UTC and
// hasTime = false. A time of day without a date (hasDate = false) carries
// that time, as written, on 1970-01-01 in UTC: it has no zone, as without a
// date it names no moment.
struct DateTime {
    std::int64_t msecsSinceEpoch = 0;  // UTC
    bool hasTime = true;
    bool hasDate = true;
    friend bool operator==(const DateTime&, const DateTime&) = default;
};

using Value = std::variant<std::string, double, DateTime>;
using ValueList = std::vector<Value>;
using StringList = std::vector<std::string>;

class Database;
class View;
class Document;
class Item;
class RichTextItem;
class EmbeddedObject;

using DatabasePtr = std::shared_ptr<Database>;
using ViewPtr = std::shared_ptr<View>;
using DocumentPtr = std::shared_ptr<Document>;
using ItemPtr = std::shared_ptr<Item>;
using RichTextItemPtr = std::shared_ptr<RichTextItem>;
using EmbeddedObjectPtr = std::shared_ptr<EmbeddedObject>;

class VELLORAN_INTERFACE Session : public component::Object {
public:
    // Opens a session for the local user of this installation.
    virtual void Initialize(const std::string& password) = 0;
    // Opens a session for a user of the installation's directory; throws
    // when the user is unknown or the password wrong.
    virtual void InitializeUsingNotesUserName(const std::string& userName,
                                              const std::string& password) = 0;
    // Name of the logged-in user; empty before a login.
    virtual std::string UserName() const = 0;
    // An empty server opens `path` as a local file; otherwise `path` is
    // relative to the server's data folder, parts joined by "\". Throws when
    // the server is unknown, the database absent or the user not allowed
    // to read it. `createOnFail` is accepted for compatibility and must be
    // false: the component never creates databases from here.
    virtual DatabasePtr GetDatabase(const std::string& server, const std::string& path,
                                    bool createOnFail) = 0;
    // Evaluates a formula in the context of `document` (may be null).
    virtual ValueList Evaluate(const std::string& formula, const DocumentPtr& document) = 0;
};

class VELLORAN_INTERFACE Database : public component::Object {
public:
    virtual std::string Title() const = 0;
    virtual std::string FilePath() const = 0;
    // Names of all views, hidden ones included, in design order.
    virtual StringList Views() = 0;
    // The view with this name or alias (letter case ignored); throws when
    // there is none.
    virtual ViewPtr GetView(const std::string& name) = 0;
    // Throws when no document has this universal ID.
    virtual DocumentPtr GetDocumentByUNID(const std::string& universalId) = 0;
};

class VELLORAN_INTERFACE View : public component::Object {
public:
    virtual std::string Name() const = 0;
    virtual StringList Aliases() const = 0;
    // The columns shown, in design order: hidden columns, which only order
    // the view, are not counted, named or given values.
    virtual int ColumnCount() = 0;
    virtual StringList ColumnNames() = 0;
    // Number of documents in the view (its AllEntries collection's Count).
    virtual int AllEntriesCount() = 0;
    // 1-based position in view order; null when out of range.
    virtual DocumentPtr GetNthDocument(int position) = 0;
    // The document after `document` in view order; null after the last.
    virtual DocumentPtr GetNextDocument(const DocumentPtr& document) = 0;
    // Why the view lists no documents whatever the database holds: which
    // of its formulas the engine cannot read (one kept from another
    // system, say) and why, for the user; empty when it can read them all.
    virtual std::string UnreadableFormula() const = 0;
};

class VELLORAN_INTERFACE Document : public component::Object {
public:
    // 32 hexadecimal digits.
    virtual std::string UniversalID() = 0;
    virtual std::int32_t NoteID() = 0;
    virtual DateTime Created() = 0;
    virtual DateTime LastModified() = 0;
    // One value per shown column of the view the document was reached
    // through; empty for a document not reached through a view.
    virtual ValueList ColumnValues() = 0;
    // Item names in document order (a name may repeat).
    virtual StringList Items() = 0;
    // Values of the first item of this name; one empty text when the
    // document has no such item.
    virtual ValueList GetItemValue(const std::string& name) = 0;
    // True when the document has file attachments or embedded objects.
    virtual bool HasEmbedded() = 0;
    // The attachment of this file name; null when there is none.
    virtual EmbeddedObjectPtr GetAttachment(const std::string& fileName) = 0;
    // The first item of this name; null when there is none.
    virtual ItemPtr GetFirstItem(const std::string& name) = 0;
    // The item of this name that comes `occurrence`-th (from 1) in document
    // order; null when the document has fewer.
    virtual ItemPtr GetNthItem(const std::string& name, int occurrence) = 0;
};

class VELLORAN_INTERFACE Item : public component::Object {
public:
    virtual std::string Name() = 0;
    virtual int Type() = 0;
    virtual ValueList Values() = 0;
    // The rich-text interface of the same item; null when the item is not
    // rich text.
    virtual RichTextItemPtr AsRichText() = 0;
};

class VELLORAN_INTERFACE RichTextItem : public Item {
public:
    // Plain text of the item: paragraphs separated by "\r\n", tabs removed
    // when `stripTabs`, lines wrapped at `lineLength` characters (0: no
    // wrapping).
    virtual std::string GetFormattedText(bool stripTabs, int lineLength) = 0;
    // Names of the item's embedded objects, in order.
    virtual StringList EmbeddedObjects() = 0;
    // Null when the item has no object of this name.
    virtual EmbeddedObjectPtr GetEmbeddedObject(const std::string& name) = 0;
};

class VELLORAN_INTERFACE EmbeddedObject : public component::Object {
public:
    virtual std::string Name() = 0;
    virtual std::int64_t FileSize() = 0;
    // Writes the object's bytes to `path`, streaming; throws when the file
    // cannot be written.
    virtual void ExtractFile(const std::string& path) = 0;
};

}  // namespace velloran::notes
