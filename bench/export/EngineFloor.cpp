#include "EngineFloor.h"

#include "ValueText.h"

#include <QDir>

namespace velloran::bench {

namespace {

const QString kAttachmentNamesFormula = QStringLiteral("@AttachmentNames");

}  // namespace

EngineFloor::EngineFloor(const std::string& hivePath, const QString& databasePath)
    : session_(platform::ComponentRuntime(hivePath)) {
    session_.Initialize();
    database_.ConnectTo(session_.GetDatabase(QString(), databasePath));
}

EngineWalk EngineFloor::walk(const QString& viewName, const QString& scratchFolder) {
    domino::TNotesView view;
    view.ConnectTo(database_.GetView(viewName));
    const int count = view.AllEntriesCount();
    EngineWalk walk;
    if (count == 0) return walk;
    domino::TNotesDocument document;
    document.ConnectTo(view.GetNthDocument(1));
    walk.headerNames = document.Items();
    for (int n = 1; n <= count; ++n) {
        readDocument(document, scratchFolder, walk);
        if (n < count) document.ConnectTo(view.GetNextDocument(document));
    }
    return walk;
}

void EngineFloor::readDocument(domino::TNotesDocument& document, const QString& scratchFolder, EngineWalk& walk) {
    const QString universalId = document.UniversalID();
    walk.cells.add(universalId);
    if (document.HasEmbedded())
        walk.attachments += extractAttachments(document, scratchFolder + universalId + QLatin1Char('/'));
    for (const QString& name : walk.headerNames) {
        // The export asks every item for its type to find rich text. A
        // document may lack an item of the first one (its "$FILE"): its
        // cell stays empty.
        domino::TNotesItem item;
        item.ConnectTo(document.GetFirstItem(name));
        if (item.IsConnected()) item.Type();
        const notes::ValueList values = document.GetItemValue(name);
        walk.cells.add(values.empty() ? QString() : domino::valueToText(values.front()));
    }
    ++walk.documents;
}

qint64 EngineFloor::extractAttachments(domino::TNotesDocument& document, const QString& folder) {
    QDir().mkpath(folder);
    const QStringList names = domino::valuesToTexts(session_.Evaluate(kAttachmentNamesFormula, document));
    for (const QString& name : names) {
        domino::TNotesEmbeddedObject attachment;
        attachment.ConnectTo(document.GetAttachment(name));
        attachment.ExtractFile(folder + name);
    }
    return names.size();
}

}  // namespace velloran::bench
