#pragma once
#include <QString>

namespace velloran::platform {

// Turns a file filter written as "Description|*.ext" pairs (several pairs
// joined by "|", several patterns joined by ";") into Qt's form:
// "Workbook|*.xls|All|*.*" gives "Workbook (*.xls);;All (*.*)".
// A description without a pattern stands alone.
QString toQtFileFilter(const QString& filter);

}  // namespace velloran::platform
