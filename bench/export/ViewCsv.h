#pragma once
// The cells an export of a view writes, as CSV for other programs to turn
// into a workbook: a header row (the universal ID's title, then the names of
// the first document's items), then for every document its universal ID
// and the text of each of those items' first value, read through the
// program's wrappers as the export reads them.
#include <QString>

#include <string>

namespace velloran::bench {

// One CSV field: quoted, with its quotes doubled, when it holds a comma, a
// quote or a line break.
QString csvField(const QString& text);

// Writes the view's cells to `csvPath` as UTF-8 CSV with LF line ends and
// returns the number of documents. Throws when the database or the view
// cannot be read or the file cannot be written.
qint64 writeViewCsv(const std::string& hivePath, const QString& databasePath, const QString& viewName,
                    const QString& csvPath);

}  // namespace velloran::bench
