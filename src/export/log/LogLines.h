#pragma once
// The lines an export writes to its log, in the order a run writes them.
// n is the document's number in the view, j an attachment's number within
// its document (from 1); folders end in "/". The stamp is added on writing.
//
// A name or path in a line never splits or forges a line: its control
// characters are written out, CR, LF and tab as "\r", "\n" and "\t", the
// others (below 0x20, and 0x7F) as "\xHH"; a backslash stays as it is.
#include <QString>

namespace velloran::exporting::lines {

QString exportStarted(const QString& viewName, const QString& workbook);
QString documentStarted(int n);
QString hasAttachments(int n);
QString readingAttachmentNames(int n);
QString attachmentCount(int n, qsizetype count);
QString attachmentFound(int n, int j, const QString& name);
QString attachmentSaved(int n, int j, const QString& path);
QString pictureStarted(const QString& folder);
QString pictureFinished(const QString& folder);
QString itemStarted(int n);
QString richTextObjectSaved(int n, const QString& path);
// The value keeps its line breaks, each written as CR LF.
QString itemValue(const QString& value);
QString cellWritten();
QString nextDocumentFailed(int n);
// A step of document n that failed: `what` names the attachment, object or
// item, `reason` is the error's message.
QString documentStepFailed(int n, const QString& what, const QString& reason);

}  // namespace velloran::exporting::lines
