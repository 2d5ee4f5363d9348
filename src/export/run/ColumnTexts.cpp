#include "run/ColumnTexts.h"

#include "ValueText.h"

namespace velloran::exporting {

ColumnTexts::ColumnTexts(domino::TNotesDocument& document) {
    try {
        texts_ = domino::valuesToTexts(document.ColumnValues());
    } catch (const std::exception&) {
        failure_ = std::current_exception();
    }
}

QString ColumnTexts::at(qsizetype index) const {
    if (failure_) std::rethrow_exception(failure_);
    return texts_.value(index);
}

}  // namespace velloran::exporting
