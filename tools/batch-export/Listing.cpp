#include "Listing.h"

#include "BatchSession.h"

#include "errors/Failure.h"
#include "files/DataFolder.h"
#include "log/LogLine.h"

namespace velloran::batch {

namespace {

// A field never holds the tab or line break that would split its line, nor
// an escape sequence for the terminal: its control characters are written
// out as the export log writes them.
std::string field(const QString& text) { return exporting::writtenOut(text).toStdString(); }

void printViews(BatchSession& session, const QString& path, std::ostream& out) {
    domino::TNotesDatabase database;
    session.openDatabase(path, database);
    for (const ViewEntry& view : BatchSession::views(database))
        out << field(view.name) << '\t' << field(view.aliases.join(QLatin1Char(','))) << '\t' << view.documents << '\n';
}

QString titleOrReason(BatchSession& session, const QString& path) {
    try {
        domino::TNotesDatabase database;
        session.openDatabase(path, database);
        return QString::fromStdString(database.DefaultInterface()->Title());
    } catch (const std::exception& error) {
        return QStringLiteral("(无法打开: ") + QString::fromStdString(platform::describeFailure(error, false)) +
               QLatin1Char(')');
    }
}

void printDatabases(BatchSession& session, std::ostream& out) {
    for (const QString& path : platform::databasePathsUnder(session.dataFolder()))
        out << field(path) << '\t' << field(titleOrReason(session, path)) << '\n';
}

}  // namespace

void printList(const BatchOptions& options, const std::string& hivePath, std::ostream& out) {
    BatchSession session(options, hivePath);
    if (options.database.empty())
        printDatabases(session, out);
    else
        printViews(session, QString::fromStdString(options.database), out);
    out << std::flush;
}

}  // namespace velloran::batch
