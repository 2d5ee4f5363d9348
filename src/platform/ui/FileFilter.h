#pragma once
// File filters written as "Description|*.ext" pairs: several pairs joined
// by "|", several patterns of one pair joined by ";". A description
// without a pattern stands alone; a pair with neither is left out.
#include <QString>
#include <QStringList>

namespace velloran::platform {

// Qt's form of each pair, in order: "Workbook|*.xls|All|*.*" gives
// "Workbook (*.xls)" and "All (*.*)".
QStringList qtFilterEntries(const QString& filter);

// The same entries joined as Qt takes them: "Workbook (*.xls);;All (*.*)".
QString toQtFileFilter(const QString& filter);

// A name that does not end (in any letter case) with an extension one of
// the filter's patterns names gets the extension of the first pattern of
// pair `index` ("*.xlsx" gives ".xlsx"); a pair without such a pattern
// ("*.*", "*") or an index out of range adds nothing.
QString withFilterExtension(const QString& fileName, const QString& filter, qsizetype index);

}  // namespace velloran::platform
