#pragma once
// A document's column values in the view it was reached through, read once
// for the whole row. A read that fails fails every cell of the row, each
// with the same reason.
#include "DominoWrappers.h"

#include <exception>

namespace velloran::exporting {

class RowColumnValues {
public:
    explicit RowColumnValues(domino::TNotesDocument& document);

    // The value of column `index` (from 0); null for a column the document
    // has no value for. Throws what reading the values threw.
    const notes::Value* at(qsizetype index) const;

private:
    notes::ValueList values_;
    std::exception_ptr failure_;
};

}  // namespace velloran::exporting
