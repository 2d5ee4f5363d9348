#pragma once
// The error value of the formula language. A function that cannot make a
// value from its input (@TextToNumber("abc"), @Error) gives this error
// instead: a Failure of Kind::FormulaValue. It travels through every
// operator and function that uses it, a variable assigned it keeps it, and
// @IsError tells it apart. A formula whose result is an error fails like
// any other formula error.
//
// Other faults (wrong types, unknown names, limits reached) are not error
// values: @IsError does not hide them.
#include "formula/Syntax.h"

namespace velloran::notes::formula {

[[noreturn]] void failValue(std::size_t position, const std::string& message);

}  // namespace velloran::notes::formula
