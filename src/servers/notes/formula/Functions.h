#pragma once
// The @-functions of the formula language.
#include "api/NotesApi.h"
#include "formula/Syntax.h"

#include <string_view>

namespace velloran::notes::formula {

class Evaluator;

struct FunctionSignature {
    const char* name;   // lower case, with "@"
    int minArguments;
    int maxArguments;   // -1: any number
    ValueList (*run)(Evaluator& evaluator, const Node& call);
};

// Null for an unknown function; `name` is lower case with "@".
const FunctionSignature* findFunction(std::string_view name);
// Whether `function` takes `keyword` (both lower case, "[...]" left off) as
// an argument.
bool acceptsKeyword(std::string_view function, std::string_view keyword);

}  // namespace velloran::notes::formula
