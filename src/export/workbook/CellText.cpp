#include "workbook/CellText.h"

#include "text/Gb18030.h"

namespace velloran::exporting {

void appendItemValue(QString& cellText, const QString& value) {
    if (platform::gb18030Length(cellText) < kAppendBelowBytes) cellText += value;
    if (platform::gb18030Length(cellText) > kAppendBelowBytes) cellText = platform::cutToGb18030Bytes(cellText, kCutBytes);
}

}  // namespace velloran::exporting
