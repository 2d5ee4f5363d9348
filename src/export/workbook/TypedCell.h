#pragma once
// Under the typed rule a cell whose text is its value's text holds the
// value itself: a number the spreadsheet can sum, a moment as a date it can
// sort (a date without a time of day as a date alone). Anything else (a
// text, a moment without a spreadsheet date) stays text.
#include "NotesApi.h"

namespace velloran::exporting {

struct TypedCell {
    enum class Kind { Text, Number, DateTime, Date };
    Kind kind = Kind::Text;
    // The number, or the moment's date number.
    double number = 0;
};

TypedCell typedCellOf(const notes::Value& value);

}  // namespace velloran::exporting
