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
    std::vector<std::string> unnamedViews; // views the export names not: where, and the name given
    // What the views could not take from single documents. Its unindexed
    // views are those above, so it does not list them again.
    notes::write::ViewIndexReport index;

    // What was imported, kept without an index, skipped and not read, one
    // kind a line; `index` is told apart (see printIndexReport).
    std::string report() const;
};

// Reads the XML file and writes a new database `databasePath` in one
// transaction, built under a hidden name and renamed once complete. Throws
// ToolError naming the line and column of malformed input; the target name
// is then left untouched.
ImportSummary importDxlFile(const std::string& xmlPath, const std::string& databasePath);

}  // namespace velloran::tools::dxl
