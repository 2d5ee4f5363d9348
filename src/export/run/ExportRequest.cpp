#include "run/ExportRequest.h"

#include "BrowseState.h"

namespace velloran::exporting {

domino::TNotesSession& ExportRequest::requireSession() const {
    if (!session) throw domino::databaseFailure(domino::notPreparedMessage());
    return *session;
}

domino::TNotesDatabase& ExportRequest::requireDatabase() const {
    if (!database) throw domino::databaseFailure(domino::notPreparedMessage());
    return *database;
}

}  // namespace velloran::exporting
