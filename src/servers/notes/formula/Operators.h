#pragma once
// The operators of the formula language. Lists combine pair by pair, the
// shorter list repeating its last value; comparisons are true when any pair
// satisfies them. Truth values are the numbers 1 and 0.
#include "api/NotesApi.h"
#include "formula/Limits.h"

#include <cstddef>
#include <string>

namespace velloran::notes::formula {

// `left` is taken over and becomes the result, so a chain of operators grows
// one list or text in place instead of copying it at every step.
ValueList applyBinary(const std::string& op, ValueList left, const ValueList& right, std::size_t position, Budget& budget);
ValueList applyUnary(const std::string& op, const ValueList& operand, std::size_t position);
// The first value must be a number; non-zero is true.
bool truth(const ValueList& values, std::size_t position);
ValueList boolean(bool value);

}  // namespace velloran::notes::formula
