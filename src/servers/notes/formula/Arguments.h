#pragma once
// Reading the arguments of an @-function call, each check failing with the
// function's name and position.
#include "formula/Evaluator.h"

#include <string>
#include <vector>

namespace velloran::notes::formula {

ValueList argument(Evaluator& ev, const Node& call, std::size_t index);
// Every value must be text.
std::vector<std::string> texts(const ValueList& values, const Node& call);
std::vector<std::string> textArgument(Evaluator& ev, const Node& call, std::size_t index);
// The first value, which must be a number, or a date-time.
double numberArgument(Evaluator& ev, const Node& call, std::size_t index);
DateTime dateArgument(Evaluator& ev, const Node& call, std::size_t index);
// Never empty: no texts give one empty text.
ValueList fromTexts(const std::vector<std::string>& values);
const store::NoteHeader& requireNote(Evaluator& ev, const Node& call);

// The texts of argument `index`, each replaced by transform(text).
template <typename Transform>
ValueList eachText(Evaluator& ev, const Node& call, Transform transform, std::size_t index = 0) {
    std::vector<std::string> values = textArgument(ev, call, index);
    for (std::string& value : values) value = transform(value);
    return fromTexts(values);
}

}  // namespace velloran::notes::formula
