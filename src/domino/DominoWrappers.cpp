#include "DominoWrappers.h"

#include <QHash>

#include <cstring>

namespace velloran::domino {

TNotesSession::TNotesSession(platform::ComponentRuntime runtime) : runtime_(std::move(runtime)) {}

TNotesSession::InterfacePtr TNotesSession::createObject() {
    component::ObjectPtr object;
    try {
        object = runtime_.createObject(notes::kSessionClassId);
    } catch (const std::exception& e) {
        throwComponentFailure(e);
    }
    auto session = std::dynamic_pointer_cast<notes::Session>(object);
    if (!session) throw databaseFailure(std::string("类 ") + notes::kSessionClassId + " 的对象不是会话");
    return session;
}

void TNotesSession::Initialize(const QString& password) {
    call([&](notes::Session& s) { s.Initialize(toUtf8(password)); });
}

void TNotesSession::InitializeUsingNotesUserName(const QString& userName, const QString& password) {
    std::string utf8Password = toUtf8(password);
    // The copy made for the component is cleared however the login ends.
    const std::unique_ptr<std::string, void (*)(std::string*)> cleared(&utf8Password, [](std::string* text) {
        explicit_bzero(text->data(), text->size());
    });
    call([&](notes::Session& s) { s.InitializeUsingNotesUserName(toUtf8(userName), utf8Password); });
}

notes::DatabasePtr TNotesSession::GetDatabase(const QString& server, const QString& path, bool createOnFail) {
    return call([&](notes::Session& s) { return s.GetDatabase(toUtf8(server), toUtf8(path), createOnFail); });
}

notes::ValueList TNotesSession::Evaluate(const QString& formula, TNotesDocument& document) {
    const notes::DocumentPtr& context = document.DefaultInterface();
    return call([&](notes::Session& s) { return s.Evaluate(toUtf8(formula), context); });
}

QStringList TNotesDatabase::Views() {
    return call([](notes::Database& d) { return fromUtf8(d.Views()); });
}

notes::ViewPtr TNotesDatabase::GetView(const QString& name) {
    return call([&](notes::Database& d) { return d.GetView(toUtf8(name)); });
}

notes::DocumentPtr TNotesDatabase::GetDocumentByUNID(const QString& universalId) {
    return call([&](notes::Database& d) { return d.GetDocumentByUNID(toUtf8(universalId)); });
}

QString TNotesView::Name() {
    return call([](notes::View& v) { return fromUtf8(v.Name()); });
}

int TNotesView::ColumnCount() {
    return call([](notes::View& v) { return v.ColumnCount(); });
}

QStringList TNotesView::ColumnNames() {
    return call([](notes::View& v) { return fromUtf8(v.ColumnNames()); });
}

int TNotesView::AllEntriesCount() {
    return call([](notes::View& v) { return v.AllEntriesCount(); });
}

notes::DocumentPtr TNotesView::GetNthDocument(int position) {
    return call([&](notes::View& v) { return v.GetNthDocument(position); });
}

notes::DocumentPtr TNotesView::GetNextDocument(TNotesDocument& document) {
    const notes::DocumentPtr& current = document.DefaultInterface();
    return call([&](notes::View& v) { return v.GetNextDocument(current); });
}

QString TNotesDocument::UniversalID() {
    return call([](notes::Document& d) { return fromUtf8(d.UniversalID()); });
}

notes::ValueList TNotesDocument::ColumnValues() {
    return call([](notes::Document& d) { return d.ColumnValues(); });
}

QStringList TNotesDocument::Items() {
    return call([](notes::Document& d) { return fromUtf8(d.Items()); });
}

notes::ValueList TNotesDocument::GetItemValue(const QString& name) {
    return call([&](notes::Document& d) { return d.GetItemValue(utf8Name(name)); });
}

bool TNotesDocument::HasEmbedded() {
    return call([](notes::Document& d) { return d.HasEmbedded(); });
}

notes::EmbeddedObjectPtr TNotesDocument::GetAttachment(const QString& fileName) {
    return call([&](notes::Document& d) { return d.GetAttachment(toUtf8(fileName)); });
}

notes::ItemPtr TNotesDocument::GetFirstItem(const QString& name) {
    return call([&](notes::Document& d) { return d.GetFirstItem(utf8Name(name)); });
}

notes::ItemPtr TNotesDocument::GetNthItem(const QString& name, int occurrence) {
    return call([&](notes::Document& d) { return d.GetNthItem(utf8Name(name), occurrence); });
}

notes::ValueList TNotesDocument::GetNthItemValue(const QString& name, int occurrence) {
    if (occurrence == 1) return GetItemValue(name);
    TNotesItem item;
    item.ConnectTo(GetNthItem(name, occurrence));
    notes::ValueList values = item.IsConnected() ? item.Values() : notes::ValueList{};
    if (values.empty()) values.emplace_back(std::string());
    return values;
}

const std::string& TNotesDocument::utf8Name(const QString& name) {
    if (name != lastName_) {
        // A null name stands for the empty text until the conversion is
        // done, so a failed one leaves nothing stale behind.
        lastName_ = QString();
        lastUtf8Name_.clear();
        toUtf8(name, lastUtf8Name_);
        lastName_ = name;
    }
    return lastUtf8Name_;
}

QString TNotesItem::Name() {
    return call([](notes::Item& i) { return fromUtf8(i.Name()); });
}

int TNotesItem::Type() {
    return call([](notes::Item& i) { return i.Type(); });
}

notes::ValueList TNotesItem::Values() {
    return call([](notes::Item& i) { return i.Values(); });
}

// The component tells item names apart ignoring the case of ASCII letters
// only, so they are counted the same way.
QList<int> occurrencesOf(const QStringList& names) {
    QHash<QString, int> seen;
    QList<int> occurrences;
    occurrences.reserve(names.size());
    for (QString name : names) {
        for (QChar& c : name)
            if (c >= u'A' && c <= u'Z') c = QChar(c.unicode() + (u'a' - u'A'));
        occurrences << ++seen[name];
    }
    return occurrences;
}

void TNotesRichTextItem::ConnectTo(const notes::ItemPtr& item) {
    if (!item) {
        NotesWrapper::ConnectTo(nullptr);
        return;
    }
    notes::RichTextItemPtr richText;
    std::string notRichText;
    try {
        richText = item->AsRichText();
        if (!richText) notRichText = "域“" + item->Name() + "”不是多信息文本域";
    } catch (const std::exception& e) {
        throwComponentFailure(e);
    }
    if (!richText) throw databaseFailure(notRichText);
    NotesWrapper::ConnectTo(std::move(richText));
}

QString TNotesRichTextItem::GetFormattedText(bool stripTabs, int lineLength) {
    return call([&](notes::RichTextItem& r) { return fromUtf8(r.GetFormattedText(stripTabs, lineLength)); });
}

QStringList TNotesRichTextItem::EmbeddedObjects() {
    return call([](notes::RichTextItem& r) { return fromUtf8(r.EmbeddedObjects()); });
}

notes::EmbeddedObjectPtr TNotesRichTextItem::GetEmbeddedObject(const QString& name) {
    return call([&](notes::RichTextItem& r) { return r.GetEmbeddedObject(toUtf8(name)); });
}

QString TNotesEmbeddedObject::Name() {
    return call([](notes::EmbeddedObject& o) { return fromUtf8(o.Name()); });
}

void TNotesEmbeddedObject::ExtractFile(const QString& path) {
    call([&](notes::EmbeddedObject& o) { o.ExtractFile(toUtf8(path)); });
}

}  // namespace velloran::domino
