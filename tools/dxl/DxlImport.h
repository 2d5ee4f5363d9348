#pragma once
// Builds one of our databases from a database's XML export.
#include "write/ViewIndexer.h"

#include <map>
#include <string>
#include <vector>

namespace velloran::tools::dxl {

struct ImportSummary {
    std::map<std::string, int> imported;   // "documents", "views", "folders", "acl entries"
    std::map<std::string, int> skipped;    // notes the import does not take, by kind ("form", "agent" ...)
    std::map<std::string, int> unreadable; // parts that could not be read, by kind
    std::vector<std::string> problems;     // each unread or lost part, naming where it is
    int lost = 0;                          // documents and views that are not in the database
    // Views and folders kept with their formulas but without an index, as
    // the engine cannot evaluate a formula of theirs: where, which and why.
    std::vector<std::string> unindexed;
    std::vector<std::string> emptyFolders; // folders imported without documents
    // Views imported under a name of their own, where the export gives them
    // none or one an earlier view or folder has: where, and the name given.
    std::vector<std::string> renamedViews;
    // What the views could not take from single documents. Its unindexed
    // views are those above, so it does not list them again.
    notes::write::ViewIndexReport index;

    // What was imported, kept without an index, skipped and not read, one
    // kind a line; `index` is told apart (see printIndexReport).
    std::string report() const;
    // Whether everything read is in the database: nothing lost, nothing
    // that could not be read, and every view's formulas decided for every
    // document. Notes skipped on purpose do not count.
    bool complete() const { return lost == 0 && unreadable.empty() && index.complete(); }
};

struct ImportRequest {
    std::vector<std::string> xml;  // XML files and folders of them, read in this order into one database
    std::string database;
    bool overwrite = false;        // replace an existing database; otherwise one is refused
};

// Reads the XML files and writes the new database in one transaction, built
// under a hidden name and renamed once complete: what could be read is
// written and the summary says what could not. An existing database is
// refused before anything is read, unless `overwrite`, when it is replaced
// at that rename. The database takes the title the XML names, else the name
// of the first file or folder. Throws a tool Failure naming the file, line and
// column of malformed input; the target is then left as it was.
ImportSummary importDxl(const ImportRequest& request);

// The same for one file into a new database.
ImportSummary importDxlFile(const std::string& xmlPath, const std::string& databasePath);

}  // namespace velloran::tools::dxl
