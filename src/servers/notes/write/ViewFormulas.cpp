#include "write/ViewFormulas.h"

#include "formula/Evaluator.h"
#include "store/EngineError.h"

namespace velloran::notes::write {

namespace {

// Compiles the formula; its error is told as `message`, whose last argument
// is the formula's own error.
void checkFormula(const std::string& source, const Message& message, std::vector<MessageArg> args) {
    try {
        formula::Formula{source};
    } catch (const std::exception& e) {
        args.emplace_back(e);
        throw engineFailure(message, args);
    }
}

}  // namespace

void checkViewFormulas(const std::string& view, const std::string& selection,
                       const std::vector<store::ViewColumn>& columns) {
    checkFormula(selection.empty() ? "@All" : selection, msg::kSelectionFormula, {view});
    for (const store::ViewColumn& column : columns) checkFormula(column.formula, msg::kColumnFormula, {view, column.title});
}

}  // namespace velloran::notes::write
