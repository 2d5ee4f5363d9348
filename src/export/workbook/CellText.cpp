#include "workbook/CellText.h"

#include "text/Gb18030.h"

namespace velloran::exporting {

namespace {

void appendUnderXlsRule(QString& cellText, const QString& value) {
    if (platform::gb18030Length(cellText) < kAppendBelowBytes) cellText += value;
    if (platform::gb18030Length(cellText) > kAppendBelowBytes) cellText = platform::cutToGb18030Bytes(cellText, kCutBytes);
}

void appendUnderCharacterRule(QString& cellText, const QString& value) {
    cellText += value;
    if (cellText.size() <= kMaxCellCharacters) return;
    qsizetype kept = kMaxCellCharacters;
    if (cellText[kept - 1].isHighSurrogate()) --kept;
    cellText.truncate(kept);
}

}  // namespace

// Both rules only ever drop the end of the text, so a text shorter than
// the two together has lost some of them.
bool appendItemValue(QString& cellText, const QString& value, WorkbookFormat format) {
    const qsizetype whole = cellText.size() + value.size();
    if (format == WorkbookFormat::Xls) appendUnderXlsRule(cellText, value);
    else appendUnderCharacterRule(cellText, value);
    return cellText.size() == whole;
}

QString cutReason(WorkbookFormat format) {
    if (format == WorkbookFormat::Xls)
        return QStringLiteral("文本超出.xls单元格的长度上限(%1字节)，超出部分未导出").arg(kAppendBelowBytes);
    return QStringLiteral("文本超出单元格的长度上限(%1个字符)，超出部分未导出").arg(kMaxCellCharacters);
}

}  // namespace velloran::exporting
