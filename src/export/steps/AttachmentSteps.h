#pragma once
// The three steps of the document walk that save files beside the
// workbook: a document's file attachments, the picture step (two log lines,
// no file) and a rich-text item's formatted text and first embedded object.
// `folder` is the document's folder, ending in "/"; n the document's
// number in the view.
#include "DominoWrappers.h"
#include "log/RunLog.h"

namespace velloran::exporting {

class AttachmentSteps {
public:
    // The session is asked for on first use, so that a missing one fails
    // inside the guarded part.
    AttachmentSteps(std::function<domino::TNotesSession&()> session, const RunLog& log)
        : session_(std::move(session)), log_(log) {}

    // Logs, creates the folder, then saves every attachment, guarded: the
    // first failure skips the rest of the document's attachments.
    void saveAttachments(domino::TNotesDocument& document, int n, const QString& folder);
    // Guarded: two log lines naming the folder.
    void picture(const QString& folder);
    // Sets `cellText` to the item's formatted text, then extracts its first
    // embedded object. Not guarded: the caller's item step is.
    void richText(domino::TNotesDocument& document, const QString& itemName, int n, const QString& folder,
                  QString& cellText);

private:
    void saveAttachmentList(domino::TNotesDocument& document, int n, const QString& folder);

    std::function<domino::TNotesSession&()> session_;
    const RunLog& log_;
};

}  // namespace velloran::exporting
