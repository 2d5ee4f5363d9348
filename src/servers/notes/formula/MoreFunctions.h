#pragma once
// The @-functions on names, numbers and text that view formulas of real
// databases use beyond the core set in Functions.cpp.
#include "formula/Functions.h"

#include <span>

namespace velloran::notes::formula {

std::span<const FunctionSignature> moreFunctions();

}  // namespace velloran::notes::formula
