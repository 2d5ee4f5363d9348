#include "WorkbookFloor.h"

#include "run/IntegerText.h"
#include "text/Gb18030.h"
#include "workbook/Spreadsheet.h"

namespace velloran::bench {

namespace {

const QString kUniversalIdTitle = QStringLiteral("文档ID");
constexpr int kItemColumnWidth = 40;
constexpr int kNameWidthMargin = 10;

// The header in the export's order of calls: two widths, the text format
// for a name that reads as a number, the name, then the title of column 1,
// once per name.
qint64 writeHeader(exporting::Spreadsheet& sheet, const QStringList& names) {
    for (qsizetype i = 0; i < names.size(); ++i) {
        const int column = static_cast<int>(i) + 2;
        sheet.setColumnWidth(column - 1, kItemColumnWidth);
        sheet.setColumnWidth(column, static_cast<int>(platform::gb18030Length(names[i])) + kNameWidthMargin);
        if (exporting::IsIntegerText(names[i])) sheet.setTextFormat(1, column);
        sheet.setCellText(1, column, names[i]);
        sheet.setCellText(1, 1, kUniversalIdTitle);
    }
    return names.size() + (names.isEmpty() ? 0 : 1);
}

}  // namespace

qint64 writeWorkbook(const std::string& hivePath, const EngineWalk& walk, const QString& fileName) {
    exporting::Spreadsheet sheet = exporting::Spreadsheet::start(hivePath);
    const qint64 headerCells = writeHeader(sheet, walk.headerNames);
    const qsizetype columns = walk.headerNames.size() + 1;
    for (qsizetype cell = 0; cell < walk.cells.size(); ++cell)
        sheet.setCellText(static_cast<int>(cell / columns) + 2, static_cast<int>(cell % columns) + 1, walk.cells.at(cell));
    sheet.saveAs(fileName);
    sheet.quit();
    return headerCells + walk.cells.size();
}

}  // namespace velloran::bench
