#include "run/ExportRequest.h"

#include "BrowseState.h"

#include <QFileInfo>

namespace velloran::exporting {

domino::TNotesSession& ExportRequest::requireSession() const {
    if (!session) throw domino::databaseFailure(domino::notPreparedMessage());
    return *session;
}

domino::TNotesDatabase& ExportRequest::requireDatabase() const {
    if (!database) throw domino::databaseFailure(domino::notPreparedMessage());
    return *database;
}

QString ExportRequest::workbookFile() const {
    // A relative name is taken from the current folder, so that the
    // attachment folder lies beside the workbook, never at the root.
    const QString chosen = QFileInfo(chosenName).absoluteFilePath();
    return exactName ? chosen : workbookFileName(chosen, startText, format.value_or(formatOfName(chosen)));
}

}  // namespace velloran::exporting
