#pragma once
// A document's column values in the view it was reached through, as the
// document list shows them (domino::valuesToTexts), read once for the whole
// row. A read that fails fails every cell of the row, each with the same
// reason.
#include "DominoWrappers.h"

#include <QStringList>

#include <exception>

namespace velloran::exporting {

class ColumnTexts {
public:
    explicit ColumnTexts(domino::TNotesDocument& document);

    // The text of column `index` (from 0); empty for a column the document
    // has no value for. Throws what reading the values threw.
    QString at(qsizetype index) const;

private:
    QStringList texts_;
    std::exception_ptr failure_;
};

}  // namespace velloran::exporting
