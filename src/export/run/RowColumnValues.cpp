#include "run/RowColumnValues.h"

namespace velloran::exporting {

RowColumnValues::RowColumnValues(domino::TNotesDocument& document) {
    try {
        values_ = document.ColumnValues();
    } catch (const std::exception&) {
        failure_ = std::current_exception();
    }
}

const notes::Value* RowColumnValues::at(qsizetype index) const {
    if (failure_) std::rethrow_exception(failure_);
    if (index < 0 || static_cast<std::size_t>(index) >= values_.size()) return nullptr;
    return &values_[static_cast<std::size_t>(index)];
}

}  // namespace velloran::exporting
