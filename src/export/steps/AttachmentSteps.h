#pragma once
// The three steps of the document walk that save files beside the
// workbook: a document's file attachments, the picture step (two log lines,
// no file) and a rich-text item's formatted text and first embedded object.
// Every attachment and object is a guarded step of its own: one that fails
// is logged with its reason, counted, and the others are still saved.
// n is the document's number in the view.
#include "DominoWrappers.h"
#include "log/RunLog.h"
#include "paths/DocumentFolder.h"
#include "run/ExportRequest.h"
#include "run/ExportServices.h"
#include "steps/Guarded.h"

namespace velloran::exporting {

class AttachmentSteps {
public:
    AttachmentSteps(const ExportRequest& request, const RunLog& log, const StepGuard& guard, ExportLosses& losses)
        : request_(request), log_(log), guard_(guard), losses_(losses) {}

    // Logs, reads the attachment names, opens the document's folder and
    // saves every attachment into it.
    void saveAttachments(domino::TNotesDocument& document, int n, DocumentFolder& folder);
    // Two log lines naming the folder.
    void picture(const QString& folder);
    // Sets `cellText` to the formatted text of the `occurrence`-th item of
    // the name, then saves its first embedded object. Reading the item is
    // not guarded here: the caller's item step is.
    void richText(domino::TNotesDocument& document, const QString& itemName, int occurrence, int n,
                  DocumentFolder& folder, QString& cellText);

private:
    QStringList attachmentNames(domino::TNotesDocument& document, int n);
    void saveAttachment(domino::TNotesDocument& document, int n, int j, const QString& name, DocumentFolder& folder);
    void saveObject(domino::TNotesRichTextItem& item, const QString& name, int n, DocumentFolder& folder);

    const ExportRequest& request_;
    const RunLog& log_;
    const StepGuard& guard_;
    ExportLosses& losses_;
};

}  // namespace velloran::exporting
