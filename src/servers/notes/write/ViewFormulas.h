#pragma once
// Whether the engine can read a view's formulas: a view kept from another
// system may hold some it cannot, and then lists no documents.
#include "store/Records.h"

#include <string>
#include <vector>

namespace velloran::notes::write {

// Compiles the view's selection formula (none: every document) and its
// column formulas; throws an engine Failure naming the first that cannot
// be read and why.
void checkViewFormulas(const std::string& view, const std::string& selection,
                       const std::vector<store::ViewColumn>& columns);

}  // namespace velloran::notes::write
