#include "steps/AttachmentSteps.h"

#include "ValueText.h"
#include "log/LogLines.h"
#include "paths/ExportPaths.h"
#include "steps/Guarded.h"

#include <QDir>

namespace velloran::exporting {

namespace {

const QString kAttachmentNamesFormula = QStringLiteral("@AttachmentNames");
constexpr bool kStripTabs = true;
constexpr int kFormattedLineLength = 80;

}  // namespace

void AttachmentSteps::saveAttachments(domino::TNotesDocument& document, int n, const QString& folder) {
    log_.write(lines::hasAttachments(n));
    // A folder that cannot be made shows up as failed extractions.
    QDir().mkpath(folder);
    runGuarded([&] { saveAttachmentList(document, n, folder); });
}

void AttachmentSteps::saveAttachmentList(domino::TNotesDocument& document, int n, const QString& folder) {
    log_.write(lines::readingAttachmentNames(n));
    const QStringList names = domino::valuesToTexts(session_().Evaluate(kAttachmentNamesFormula, document));
    log_.write(lines::attachmentCount(n, names.size()));
    for (qsizetype index = 0; index < names.size(); ++index) {
        const int j = static_cast<int>(index) + 1;
        domino::TNotesEmbeddedObject attachment;
        attachment.ConnectTo(document.GetAttachment(names[index]));
        log_.write(lines::attachmentFound(n, j, names[index]));
        const QString path = ExportPaths::fileIn(folder, names[index]);
        attachment.ExtractFile(path);
        log_.write(lines::attachmentSaved(n, j, path));
    }
}

void AttachmentSteps::picture(const QString& folder) {
    runGuarded([&] {
        log_.write(lines::pictureStarted(folder));
        log_.write(lines::pictureFinished(folder));
    });
}

void AttachmentSteps::richText(domino::TNotesDocument& document, const QString& itemName, int n,
                               const QString& folder, QString& cellText) {
    domino::TNotesRichTextItem item;
    item.ConnectTo(document.GetFirstItem(itemName));
    domino::TNotesEmbeddedObject object;
    cellText = item.GetFormattedText(kStripTabs, kFormattedLineLength);
    const QStringList objects = item.EmbeddedObjects();
    if (objects.isEmpty()) return;
    object.ConnectTo(item.GetEmbeddedObject(objects.first()));
    const QString path = ExportPaths::fileIn(folder, objects.first());
    object.ExtractFile(path);
    log_.write(lines::richTextObjectSaved(n, path));
}

}  // namespace velloran::exporting
