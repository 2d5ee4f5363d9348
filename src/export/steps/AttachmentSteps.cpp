#include "steps/AttachmentSteps.h"

#include "ValueText.h"
#include "log/LogLines.h"

#include <QSet>

namespace velloran::exporting {

namespace {

const QString kAttachmentNamesFormula = QStringLiteral("@AttachmentNames");
constexpr bool kStripTabs = true;
constexpr int kFormattedLineLength = 80;

// The component answers "nothing" for a name it does not hold.
template <class Wrapper>
void requireFound(const Wrapper& wrapper, const char* what, const QString& name) {
    if (!wrapper.IsConnected())
        throw std::runtime_error(std::string("the document holds no ") + what + " named " + name.toStdString());
}

// Attachments are reached by name, so of several with one name only the
// first can be read; the others are reported rather than saved as copies of
// the first.
std::string repeatedNameReason(const QString& name) {
    return "the document holds more than one attachment named " + name.toStdString() +
           " and only the first of them can be read";
}

}  // namespace

void AttachmentSteps::saveAttachments(domino::TNotesDocument& document, int n, DocumentFolder& folder) {
    log_.write(lines::hasAttachments(n));
    QStringList names;
    if (!guard_.run(n, kAttachmentNamesFormula, [&] { names = attachmentNames(document, n); })) {
        ++losses_.attachments;
        return;
    }
    if (!guard_.run(n, folder.path(), [&] { folder.open(); })) {
        losses_.attachments += static_cast<int>(names.size());
        return;
    }
    QSet<QString> seen;
    for (qsizetype index = 0; index < names.size(); ++index) {
        const int j = static_cast<int>(index) + 1;
        // The formula answers one empty name for a document whose embedded
        // objects are all in rich text: there is no attachment to save.
        if (names[index].isEmpty()) continue;
        const bool repeated = seen.contains(names[index]);
        seen.insert(names[index]);
        if (!guard_.run(n, names[index], [&] {
                if (repeated) throw std::runtime_error(repeatedNameReason(names[index]));
                saveAttachment(document, n, j, names[index], folder);
            }))
            ++losses_.attachments;
    }
}

QStringList AttachmentSteps::attachmentNames(domino::TNotesDocument& document, int n) {
    log_.write(lines::readingAttachmentNames(n));
    const QStringList names =
        domino::valuesToTexts(request_.requireSession().Evaluate(kAttachmentNamesFormula, document));
    log_.write(lines::attachmentCount(n, names.size()));
    return names;
}

void AttachmentSteps::saveAttachment(domino::TNotesDocument& document, int n, int j, const QString& name,
                                     DocumentFolder& folder) {
    domino::TNotesEmbeddedObject attachment;
    attachment.ConnectTo(document.GetAttachment(name));
    requireFound(attachment, "attachment", name);
    log_.write(lines::attachmentFound(n, j, name));
    const QString path = folder.save(name, [&](const QString& target) { attachment.ExtractFile(target); });
    log_.write(lines::attachmentSaved(n, j, path));
}

void AttachmentSteps::picture(const QString& folder) {
    log_.write(lines::pictureStarted(folder));
    log_.write(lines::pictureFinished(folder));
}

void AttachmentSteps::richText(domino::TNotesDocument& document, const QString& itemName, int occurrence, int n,
                               DocumentFolder& folder, QString& cellText) {
    domino::TNotesRichTextItem item;
    item.ConnectTo(document.GetNthItem(itemName, occurrence));
    cellText = item.GetFormattedText(kStripTabs, kFormattedLineLength);
    const QStringList objects = item.EmbeddedObjects();
    if (objects.isEmpty()) return;
    if (!guard_.run(n, objects.first(), [&] { saveObject(item, objects.first(), n, folder); })) ++losses_.objects;
}

void AttachmentSteps::saveObject(domino::TNotesRichTextItem& item, const QString& name, int n,
                                 DocumentFolder& folder) {
    domino::TNotesEmbeddedObject object;
    object.ConnectTo(item.GetEmbeddedObject(name));
    requireFound(object, "embedded object", name);
    const QString path = folder.save(name, [&](const QString& target) { object.ExtractFile(target); });
    log_.write(lines::richTextObjectSaved(n, path));
}

}  // namespace velloran::exporting
