#pragma once
// The tool's session with the document databases: logged in to the server,
// or opened for the local user, and the databases and views it opens. A
// database or view that is not there is reported with the names near it
// (a view without any, with the pointer to --list).
#include "BatchOptions.h"

#include "DominoWrappers.h"
#include "access/Installation.h"

#include <QStringList>

#include <string>
#include <vector>

namespace velloran::batch {

// A view as --list shows it.
struct ViewEntry {
    QString name;
    QStringList aliases;
    int documents = 0;
};

class BatchSession {
public:
    // Logs in to options.login's server, or opens the local user's session;
    // throws a Failure when the server is not this installation's.
    BatchSession(const BatchOptions& options, const std::string& hivePath);

    domino::TNotesSession& session() { return session_; }
    // The server logged in to; empty for local files.
    const QString& server() const { return server_; }
    // The server's data folder, from the hive; throws when there is none.
    QString dataFolder() const;

    // Opens `path` into `database`; throws a Failure with the near
    // database names when it cannot.
    void openDatabase(const QString& path, domino::TNotesDatabase& database);
    // Opens the view `name` (or alias) into `view`; throws a Failure with
    // the near view names and aliases when it cannot.
    static void openView(domino::TNotesDatabase& database, const QString& name, domino::TNotesView& view);
    // The database's views as the window shows them (not those whose name
    // is blank or holds "$"), in design order.
    static std::vector<ViewEntry> views(domino::TNotesDatabase& database);

private:
    notes::access::Installation installation() const;
    void requireThisServer() const;
    bool databaseExists(const QString& path) const;
    // The databases a wrong `path` may have meant.
    QStringList databasesNear(const QString& path) const;

    std::string hivePath_;
    domino::TNotesSession session_;
    QString server_;
};

}  // namespace velloran::batch
