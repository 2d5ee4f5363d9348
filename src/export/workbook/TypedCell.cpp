#include "workbook/TypedCell.h"

#include "values/ValueText.h"

#include <cmath>

namespace velloran::exporting {

TypedCell typedCellOf(const notes::Value& value) {
    if (const auto* number = std::get_if<double>(&value))
        return std::isfinite(*number) ? TypedCell{TypedCell::Kind::Number, *number} : TypedCell{};
    // A time of day without a date has no date number: it stays text.
    if (const auto* moment = std::get_if<notes::DateTime>(&value); moment && moment->hasDate)
        if (const std::optional<double> serial = platform::spreadsheetSerial(moment->msecsSinceEpoch, moment->hasTime))
            return {moment->hasTime ? TypedCell::Kind::DateTime : TypedCell::Kind::Date, *serial};
    return {};
}

}  // namespace velloran::exporting
