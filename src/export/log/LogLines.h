#pragma once
// The lines an export writes to its log, in the order a run writes them.
// n is the document's number in the view, j an attachment's number within
// its document (from 1); folders end in "/". The stamp is added on writing.
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
QString itemValue(const QString& value);
QString cellWritten();
QString nextDocumentFailed(int n);
// A step of document n that failed: what was not exported and why.
QString documentStepFailed(int n, const QString& what, const QString& reason);

}  // namespace velloran::exporting::lines
