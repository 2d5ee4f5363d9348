#pragma once
// What one cell of the workbook holds of its text, by the workbook's format.
// .xls: the text is bounded by its length in GB18030 bytes: an item's value
// is appended only while the text is below 32000 bytes, and a text above
// 32000 bytes keeps its first 32100, cut on a character boundary.
// .xlsx and CSV: a text keeps its first 32767 characters (UTF-16 code
// units, never half a surrogate pair), the most the spreadsheet
// application takes for one cell; the workbook holds no longer text in any
// format, CSV included.
// What a cell leaves out is a loss of the export: the caller logs it.
#include "run/WorkbookFile.h"

#include <QString>

namespace velloran::exporting {

inline constexpr qsizetype kAppendBelowBytes = 32000;
inline constexpr qsizetype kCutBytes = 32100;
inline constexpr qsizetype kMaxCellCharacters = 32767;

// Appends `value` to `cellText` under the rule of `format`; false when some
// of the text or the value was left out.
bool appendItemValue(QString& cellText, const QString& value, WorkbookFormat format);

// Why a cell of `format` left some of its text out, for the log.
QString cutReason(WorkbookFormat format);

}  // namespace velloran::exporting
