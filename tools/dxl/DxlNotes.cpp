#include "dxl/DxlNotes.h"

#include "dxl/DxlValues.h"
#include "text/Utf8.h"

#include <QByteArray>
#include <algorithm>
#include <array>
#include <cstdio>

namespace velloran::tools::dxl {

namespace {

using namespace notes;

// The elements a database export holds its notes as, and that a file may
// have as its root: documents, notes in note format, and the design notes
// of every version of the format.
constexpr std::array<std::string_view, 25> kNoteElements = {
    "document",       "note",          "profiledocument",   "form",              "subform",
    "page",           "frameset",      "view",              "folder",            "sharedfield",
    "sharedactions",  "imageresource", "appletresource",    "agent",             "agentdata",
    "scriptlibrary",  "databasescript", "helpusingdocument", "helpaboutdocument", "dataconnection",
    "outline",        "navigator",     "fileresource",      "stylesheetresource", "sharedcolumn"};

write::ItemInput* findItem(write::NoteInput& note, std::string_view name) {
    auto found = std::find_if(note.items.begin(), note.items.end(),
                              [&](const write::ItemInput& item) { return text::equalsIgnoringCase(item.name, name); });
    return found == note.items.end() ? nullptr : &*found;
}

bool isUniversalId(const Value& value) {
    const auto* text = std::get_if<std::string>(&value);
    return text && text->size() == 32 && text->find_first_not_of("0123456789ABCDEFabcdef") == std::string::npos;
}

std::uint32_t littleEndianWord(const QByteArray& bytes, qsizetype at) {
    std::uint32_t word = 0;
    for (int i = 3; i >= 0; --i) word = word << 8 | static_cast<unsigned char>(bytes[at + i]);
    return word;
}

// The universal IDs in raw $REF data: a 16-bit count, then per ID two
// 8-byte stamps of two 32-bit words each, the text giving each stamp's
// second word before its first. Nothing when the data is not that.
std::optional<ValueList> decodeNoteRefs(const std::string& base64) {
    QByteArray::FromBase64Result decoded =
        QByteArray::fromBase64Encoding(QByteArray::fromStdString(base64), QByteArray::AbortOnBase64DecodingErrors);
    const QByteArray& bytes = decoded.decoded;
    if (!decoded || bytes.size() < 2) return std::nullopt;
    const qsizetype count = static_cast<unsigned char>(bytes[0]) | static_cast<unsigned char>(bytes[1]) << 8;
    if (bytes.size() != 2 + 16 * count) return std::nullopt;
    ValueList unids;
    for (qsizetype at = 2; at < bytes.size(); at += 16) {
        char unid[33];
        std::snprintf(unid, sizeof unid, "%08X%08X%08X%08X", littleEndianWord(bytes, at + 4),
                      littleEndianWord(bytes, at), littleEndianWord(bytes, at + 12), littleEndianWord(bytes, at + 8));
        unids.emplace_back(std::string(unid));
    }
    return unids;
}

write::ItemInput summaryText(const std::string& name, const std::string& value) {
    return {name, kText, kFlagSummary, {value}, {}};
}

}  // namespace

bool isNoteElement(std::string_view name) {
    return std::find(kNoteElements.begin(), kNoteElements.end(), name) != kNoteElements.end();
}

DocumentAttributes documentAttributes(const XmlCursor& cursor) {
    return {cursor.attribute("form"), cursor.attribute("parent"), cursor.flag("response"), cursor.flag("conflict")};
}

void addDocumentAttributes(const DocumentAttributes& attributes, write::NoteInput& note, const NoteProblem& problem) {
    auto front = note.items.begin();
    if (!attributes.form.empty() && !findItem(note, "Form"))
        front = note.items.insert(front, summaryText("Form", attributes.form)) + 1;
    if (!attributes.parent.empty() && !findItem(note, notes::store::kParentLinkItem))
        note.items.insert(front, summaryText(notes::store::kParentLinkItem, attributes.parent));
    if (attributes.conflict && !findItem(note, "$Conflict")) note.items.push_back(summaryText("$Conflict", ""));
    if ((attributes.response || attributes.conflict) && !findItem(note, notes::store::kParentLinkItem))
        problem(std::string(attributes.conflict ? "冲突" : "答复") + "文档没有指出父文档: 作为主文档导入");
}

void typeResponseLink(write::NoteInput& note, const NoteProblem& problem) {
    write::ItemInput* link = findItem(note, notes::store::kParentLinkItem);
    if (!link || link->type == kNoteRefs) return;
    std::optional<ValueList> unids;
    const auto* raw = link->values.size() == 1 ? std::get_if<std::string>(&link->values[0]) : nullptr;
    if (link->type == kRawData && raw) unids = decodeNoteRefs(*raw);
    else if (link->type == kText) unids = link->values;
    if (!unids || unids->empty() || !std::all_of(unids->begin(), unids->end(), isUniversalId)) {
        problem("域 " + link->name + " 中不是父文档的通用 ID: 该域保持原样，文档作为主文档导入");
        return;
    }
    link->type = kNoteRefs;
    link->values = std::move(*unids);
}

}  // namespace velloran::tools::dxl
