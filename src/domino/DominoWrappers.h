#pragma once
// The wrappers through which the program calls the document-database
// component: one class per component class, each method one component
// operation, texts as QString.
#include "NotesWrapper.h"
#include "component/ComponentRuntime.h"

namespace velloran::domino {

class TNotesDocument;

class TNotesSession : public NotesWrapper<notes::Session> {
public:
    // The session object is created through `runtime` on first use.
    explicit TNotesSession(platform::ComponentRuntime runtime);

    void Initialize(const QString& password = {});
    void InitializeUsingNotesUserName(const QString& userName, const QString& password);
    notes::DatabasePtr GetDatabase(const QString& server, const QString& path, bool createOnFail = false);
    notes::ValueList Evaluate(const QString& formula, TNotesDocument& document);

protected:
    InterfacePtr createObject() override;

private:
    platform::ComponentRuntime runtime_;
};

class TNotesDatabase : public NotesWrapper<notes::Database> {
public:
    QStringList Views();
    notes::ViewPtr GetView(const QString& name);
    notes::DocumentPtr GetDocumentByUNID(const QString& universalId);
};

class TNotesView : public NotesWrapper<notes::View> {
public:
    QString Name();
    int ColumnCount();
    QStringList ColumnNames();
    int AllEntriesCount();
    notes::DocumentPtr GetNthDocument(int position);
    notes::DocumentPtr GetNextDocument(TNotesDocument& document);
};

class TNotesDocument : public NotesWrapper<notes::Document> {
public:
    QString UniversalID();
    notes::ValueList ColumnValues();
    QStringList Items();
    notes::ValueList GetItemValue(const QString& name);
    bool HasEmbedded();
    notes::EmbeddedObjectPtr GetAttachment(const QString& fileName);
    notes::ItemPtr GetFirstItem(const QString& name);
    // The item of this name that comes `occurrence`-th (from 1); null when
    // the document has fewer.
    notes::ItemPtr GetNthItem(const QString& name, int occurrence);
    // The values of that item, as GetItemValue gives them for the first: one
    // empty text when there is no such item or it has no values.
    notes::ValueList GetNthItemValue(const QString& name, int occurrence);

private:
    // The component's form of an item name. The export asks for one name
    // several times in a row (its item, then its value), so the last one
    // is kept.
    const std::string& utf8Name(const QString& name);

    QString lastName_;
    std::string lastUtf8Name_;
};

class TNotesItem : public NotesWrapper<notes::Item> {
public:
    QString Name();
    int Type();
    notes::ValueList Values();
};

// For each of `names`, which occurrence of its name (the case of ASCII
// letters ignored, from 1) it is: a document's k-th item of a name is the one read for that
// name's k-th place in a list of item names.
QList<int> occurrencesOf(const QStringList& names);

class TNotesRichTextItem : public NotesWrapper<notes::RichTextItem> {
public:
    using NotesWrapper::ConnectTo;
    // Holds the rich-text interface of `item`; fails when the item is not
    // rich text.
    void ConnectTo(const notes::ItemPtr& item);

    QString GetFormattedText(bool stripTabs, int lineLength);
    QStringList EmbeddedObjects();
    notes::EmbeddedObjectPtr GetEmbeddedObject(const QString& name);
};

class TNotesEmbeddedObject : public NotesWrapper<notes::EmbeddedObject> {
public:
    QString Name();
    void ExtractFile(const QString& path);
};

}  // namespace velloran::domino
