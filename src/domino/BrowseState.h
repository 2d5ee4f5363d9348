#pragma once
// The browsing state every command of the main window shares: the session
// and the database being browsed, the login values, the folders, and how far
// the document list has read into the current view.
#include "DominoWrappers.h"

#include <memory>

namespace velloran::domino {

// What an operation that needs the component's objects says when start-up
// could not prepare them.
std::string notPreparedMessage();

struct BrowseState {
    std::unique_ptr<TNotesSession> Session;
    // How many documents of the current view lie before the next one the
    // document list reads.
    int ReadPosition = 0;
    // How many documents of the current view lie before the first one the
    // document list shows: the read position its page was loaded from.
    int PageStart = 0;
    // Bound to the database of the view being browsed.
    std::unique_ptr<TNotesDatabase> CurrentDatabase;
    QString CurrentViewName;
    // Documents in the view shown in the list; 0 when no list is shown.
    int ViewDocumentCount = 0;
    // The executable's folder, ending in "/".
    QString ExeFolder;
    // The document number the export starts at, as typed.
    QString ExportStart;
    QString ServerName;
    QString UserName;
    QString Password;
    // The data folder as environment detection reported it.
    QString DataPath;
    // The path of the database opened last.
    QString DatabasePath;
    // What the tree shows: 0 nothing, 1 a server's databases, 2 one file.
    int TreeMode = 0;

    static constexpr int kTreeEmpty = 0;
    static constexpr int kTreeServer = 1;
    static constexpr int kTreeFile = 2;

    // The wrappers, or an error telling the user that start-up could not
    // prepare them.
    TNotesSession& requireSession();
    TNotesDatabase& requireCurrentDatabase();
};

}  // namespace velloran::domino
