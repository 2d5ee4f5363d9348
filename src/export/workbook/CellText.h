#pragma once
// A cell's text is bounded by its length in GB18030 bytes: an item's value
// is appended only while the text is below 32000 bytes, and a text above
// 32000 bytes keeps its first 32100, cut on a character boundary.
#include <QString>

namespace velloran::exporting {

inline constexpr qsizetype kAppendBelowBytes = 32000;
inline constexpr qsizetype kCutBytes = 32100;

void appendItemValue(QString& cellText, const QString& value);

}  // namespace velloran::exporting
