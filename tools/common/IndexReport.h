#pragma once
// What the tools that build databases say about the documents their views
// could not fully take: each failed column value with the document's
// universal id, the documents a selection formula failed for, those a
// formula ran out of its budget on, and the views kept without an index.
#include "write/ViewIndexer.h"

#include <ostream>
#include <string>

namespace velloran::tools {

// Writes nothing when nothing failed.
void printIndexReport(std::ostream& out, const std::string& tool, const notes::write::ViewIndexReport& report);

}  // namespace velloran::tools
