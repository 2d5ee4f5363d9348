#include "run/ExportRequest.h"

#include "BrowseState.h"

namespace velloran::exporting {

domino::TNotesSession& ExportRequest::requireSession() const {
    if (!session) throw domino::DominoError(domino::notPreparedMessage());
    return *session;
}

domino::TNotesDatabase& ExportRequest::requireDatabase() const {
    if (!database) throw domino::DominoError(domino::notPreparedMessage());
    return *database;
}

}  // namespace velloran::exporting
