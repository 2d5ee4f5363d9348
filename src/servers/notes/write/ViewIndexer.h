#pragma once
// Builds the materialised index of every view: the selection formula picks
// the documents, the column formulas give each entry's values, sorted
// columns order the entries (the rest keep note order).
#include "store/Sqlite.h"

namespace velloran::notes::write {

// Replaces every view's entries and count. A document for which the
// selection formula fails is not in the view; a column formula that fails
// throws EngineError naming the view, the column and the document.
void rebuildViewIndexes(store::Connection& connection);

}  // namespace velloran::notes::write
