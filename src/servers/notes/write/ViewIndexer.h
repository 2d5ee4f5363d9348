#pragma once
// Builds the materialised index of every view: the selection formula picks
// the documents, the column formulas give each entry's values, sorted
// columns order the entries (the rest keep note order).
#include "store/Sqlite.h"

namespace velloran::notes::write {

// Replaces every view's entries and count. Throws EngineError naming the
// view, the column and the document when a formula fails.
void rebuildViewIndexes(store::Connection& connection);

}  // namespace velloran::notes::write
