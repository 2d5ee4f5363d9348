#pragma once
// The lines an export writes to its log, in the order a run writes them.
// n is the document's number in the view, j an attachment's number within
// its document (from 1); folders end in "/". The stamp is added on writing.
//
// A name or path in a line never splits or forges a line: its control
// characters are written out, CR, LF and tab as "\r", "\n" and "\t", the
// others (below 0x20, and 0x7F) as "\xHH"; a backslash stays as it is.
//
// A line refers to the names and values it was made from (see LogLine).
#include "log/LogLine.h"

namespace velloran::exporting::lines {

LogLine exportStarted(const QString& viewName, const QString& workbook);
LogLine documentStarted(int n);
LogLine hasAttachments(int n);
LogLine readingAttachmentNames(int n);
LogLine attachmentCount(int n, qsizetype count);
LogLine attachmentFound(int n, int j, const QString& name);
LogLine attachmentSaved(int n, int j, const QString& path);
LogLine pictureStarted(const QString& folder);
LogLine pictureFinished(const QString& folder);
LogLine itemStarted(int n);
LogLine richTextObjectSaved(int n, const QString& path);
// The value keeps its line breaks, each written as CR LF.
LogLine itemValue(const QString& value);
LogLine cellWritten();
LogLine nextDocumentFailed(int n);
// A step of document n that failed: `what` names the attachment, object or
// item, `reason` is the error's message.
LogLine documentStepFailed(int n, const QString& what, const QString& reason);
// The run was asked to stop; document n and those after it were not exported.
LogLine exportInterrupted(int n);

}  // namespace velloran::exporting::lines
