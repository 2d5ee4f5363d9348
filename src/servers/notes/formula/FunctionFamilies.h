#pragma once
// The @-functions beyond the core set in Functions.cpp, one table per
// family, each in its own file.
#include "formula/Functions.h"

#include <span>

namespace velloran::notes::formula {

// Names, numbers and text (MoreFunctions.cpp).
std::span<const FunctionSignature> moreFunctions();
// @Text, @TextToNumber, @ToNumber, @TextToTime, @ToTime, @IsError, @Error.
std::span<const FunctionSignature> conversionFunctions();
// @Now, @Today, @Date, @Time, @Adjust and the calendar fields.
std::span<const FunctionSignature> timeFunctions();
// What a document says about itself and its database.
std::span<const FunctionSignature> documentFunctions();
// @Middle, @Replace, @Select, @Matches, @Like, @Sort.
std::span<const FunctionSignature> textListFunctions();
// The keywords @Sort takes: "ascending", "descending", "casesensitive",
// "caseinsensitive".
bool isSortKeyword(std::string_view keyword);

}  // namespace velloran::notes::formula
