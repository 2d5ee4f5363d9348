#include "dxl/DxlReader.h"

#include "dxl/DxlItems.h"
#include "dxl/DxlValues.h"
#include "dxl/MailItems.h"

#include "common/ToolError.h"
#include "text/Utf8.h"

#include <QFile>
#include <QIODevice>
#include <QTemporaryDir>
#include <chrono>

namespace velloran::tools::dxl {

namespace {

using namespace notes;

// A folder's documents are put there by hand, and the export does not say
// which: without a selection of its own a folder is imported empty.
constexpr const char* kEmptyFolderSelection = "SELECT @False";

std::int64_t nowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

// "Name|Alias1|Alias2" split into the name and its aliases; `aliasesOnly`
// takes every part as an alias. Names are kept as written, trailing blanks
// and all (the engine finds a view by its name without them), so that two
// views the platform tells apart stay two. A name of blanks only is none.
void splitNames(const std::string& names, bool aliasesOnly, write::ViewInput& view) {
    std::size_t start = 0;
    for (std::size_t bar; start <= names.size(); start = bar + 1) {
        bar = names.find('|', start);
        if (bar == std::string::npos) bar = names.size();
        std::string part = names.substr(start, bar - start);
        if (text::trimmed(part).empty()) continue;
        if (start == 0 && !aliasesOnly) view.name = part;
        else view.aliases.push_back(part);
    }
}

// The name of the `count`th view without a name or alias: "(Untitled)",
// "(Untitled 2)" ...
std::string untitledName(int count) {
    return count == 1 ? "(Untitled)" : "(Untitled " + std::to_string(count) + ")";
}

// A categorized column is sorted even when the export gives no order, as
// its categories are.
store::SortOrder sortOf(const XmlCursor& cursor) {
    std::string sort = cursor.attribute("sort");
    if (sort == "descending" || (sort == "true" && cursor.flag("sortdescending"))) return store::SortOrder::Descending;
    if (sort == "ascending" || sort == "true" || cursor.flag("categorized")) return store::SortOrder::Ascending;
    return store::SortOrder::None;
}

// The text of the <formula> inside the <code> element at the cursor.
std::string codeFormula(XmlCursor& cursor) {
    std::string formula;
    while (cursor.nextChild()) {
        if (cursor.is("formula")) formula = cursor.text();
        else cursor.skip();
    }
    return formula;
}

}  // namespace

DxlReader::DxlReader(QIODevice& input, DxlHandler& handler) : cursor_(input), handler_(handler) {}

DxlReader::~DxlReader() = default;

void DxlReader::read() {
    cursor_.toRoot();
    if (cursor_.is("database")) readDatabase();
    else if (cursor_.is("acl") || isNoteElement(cursor_.name())) readNote();
    else cursor_.fail("文件不是数据库或笔记的 XML 导出文件: 其根元素为 <" + cursor_.name() + ">");
    readToEnd();
    reportUnreadEntities();
}

void DxlReader::readDatabase() {
    std::string title = cursor_.attribute("title");
    if (!title.empty()) handler_.title(title);
    while (cursor_.nextChild()) {
        if (cursor_.is("databaseinfo")) cursor_.skip();
        else readNote();
    }
}

// The note, access list or other part of a database at the cursor.
void DxlReader::readNote() {
    if (cursor_.is("document")) readDocument(documentAttributes(cursor_));
    else if (cursor_.is("note")) readNoteFormat();
    else if (cursor_.is("view")) readView(false);
    else if (cursor_.is("folder")) readView(true);
    else if (cursor_.is("acl")) readAcl();
    else {
        handler_.skipped(cursor_.name());
        cursor_.skip();
    }
}

// A note in note format: its items as they are stored. A document is read
// like one in document format, whose form and response link are then among
// its items. A design note is skipped: its selection and columns are
// compiled formulas in binary items.
void DxlReader::readNoteFormat() {
    std::string noteClass = cursor_.attribute("class");
    if (noteClass == "document") return readDocument({});
    handler_.skipped(kNoteOfClass + (noteClass.empty() ? std::string("（无）") : noteClass));
    cursor_.skip();
}

// Past the root's end: only comments and processing instructions may follow.
void DxlReader::readToEnd() {
    while (!cursor_.xml().atEnd()) {
        cursor_.xml().readNext();
        cursor_.checkWellFormed();
    }
}

// An external entity is never read (it may name any file or address): its
// references are left out of the text they stand in, and said so, once for
// each entity.
void DxlReader::reportUnreadEntities() {
    for (const auto& [name, entity] : cursor_.unreadEntities()) {
        std::string what = entity.systemId.empty() ? "在文件之外声明" : "是外部实体（" + entity.systemId + "）";
        std::string references = entity.references > 0 ? "对它的 " + std::to_string(entity.references) + " 处引用"
                                                        : "对它的引用";
        handler_.unreadable("external entity", entity.where + ": 实体 &" + name + "; " + what + "，没有读取: " +
                                                   references + "不计入文本");
    }
}

std::string DxlReader::spoolFile() {
    if (!spool_) {
        spool_ = std::make_unique<QTemporaryDir>();
        if (!spool_->isValid()) throw toolFailure("无法为附件创建临时目录: " +
                                                spool_->errorString().toStdString());
    }
    documentFiles_.push_back(spool_->filePath(QString::number(spooled_++)).toStdString());
    return documentFiles_.back();
}

void DxlReader::removeSpooled() {
    for (const std::string& file : documentFiles_) QFile::remove(QString::fromStdString(file));
    documentFiles_.clear();
}

void DxlReader::readDocument(const DocumentAttributes& attributes) {
    std::string where = cursor_.where();
    write::NoteInput note;
    ItemContext context{[this] { return spoolFile(); },
                        [this](const std::string& reason) { handler_.unreadable("item", reason); }};
    while (cursor_.nextChild()) {
        if (cursor_.is("noteinfo")) readNoteInfo(note);
        else if (cursor_.is("item")) readItem(cursor_, note, context);
        else if (cursor_.is("mime")) readMimeElement(cursor_, note, context);
        else cursor_.skip();
    }
    // The MIME parts are known by their places among the items: joined
    // before the form's item is put in front of them.
    decodeMimeBody(note, context);
    auto linkProblem = [&](const std::string& reason) { handler_.unreadable("response link", where + ": " + reason); };
    addDocumentAttributes(attributes, note, linkProblem);
    typeResponseLink(note, linkProblem);
    if (note.created == 0) note.created = note.modified != 0 ? note.modified : nowMs();
    if (note.modified == 0) note.modified = note.created;
    handler_.document(note, where);
    removeSpooled();
}

void DxlReader::readNoteInfo(write::NoteInput& note) {
    note.unid = cursor_.attribute("unid");
    while (cursor_.nextChild()) {
        if (cursor_.is("created")) note.created = readMoment();
        else if (cursor_.is("modified")) note.modified = readMoment();
        else cursor_.skip();
    }
}

std::int64_t DxlReader::readMoment() {
    std::int64_t moment = 0;
    while (cursor_.nextChild()) {
        if (!cursor_.is("datetime")) {
            cursor_.skip();
            continue;
        }
        // An empty date-time, or a time without a date, leaves the moment unknown.
        std::optional<DateTime> parsed = readDateTime(cursor_);
        moment = parsed && parsed->hasDate ? parsed->msecsSinceEpoch : 0;
    }
    return moment;
}

void DxlReader::readView(bool folder) {
    ViewRead view{{}, folder, false, cursor_.where()};
    splitNames(cursor_.attribute("name"), false, view.design);
    splitNames(cursor_.attribute("alias"), true, view.design);
    // A view without a name (a new database's default view) goes by its
    // first alias, else by the name the platform's designer shows for it.
    view.unnamed = view.design.name.empty();
    if (view.unnamed)
        view.design.name = view.design.aliases.empty() ? untitledName(++unnamedViews_) : view.design.aliases.front();
    while (cursor_.nextChild()) {
        if (cursor_.is("code") && cursor_.attribute("event") == "selection") view.design.selection = codeFormula(cursor_);
        else if (cursor_.is("column")) readColumn(view.design);
        else cursor_.skip();
    }
    view.emptyFolder = folder && view.design.selection.empty();
    if (view.emptyFolder) view.design.selection = kEmptyFolderSelection;
    handler_.view(view);
}

void DxlReader::readColumn(write::ViewInput& view) {
    store::ViewColumn column{{}, cursor_.attribute("itemname"), sortOf(cursor_), cursor_.flag("hidden"),
                             cursor_.flag("responsesonly")};
    while (cursor_.nextChild()) {
        if (cursor_.is("columnheader")) column.title = cursor_.attribute("title");
        if (cursor_.is("code") && cursor_.attribute("event") == "value") column.formula = codeFormula(cursor_);
        else cursor_.skip();
    }
    if (column.formula.empty()) column.formula = "\"\"";
    view.columns.push_back(std::move(column));
}

void DxlReader::readAcl() {
    std::vector<store::AclEntry> entries;
    while (cursor_.nextChild()) {
        if (!cursor_.is("aclentry")) {
            cursor_.skip();
            continue;
        }
        std::string name = cursor_.attribute("name"), level = cursor_.attribute("level");
        std::optional<store::AccessLevel> parsed = parseAccessLevel(level);
        if (name.empty() || !parsed)
            handler_.unreadable("acl entry", cursor_.where() + ": 条目“" + name + "”的级别“" + level +
                                                 "”未知，或条目没有名字");
        else entries.push_back({name, *parsed});
        cursor_.skip();
    }
    handler_.acl(entries);
}

}  // namespace velloran::tools::dxl
