#pragma once
// The workbook's file name: the chosen name, its ".xls" ending (any letter
// case) dropped, then "_开始为第" + start text + "个文档.xls".
#include <QString>

namespace velloran::exporting {

// True when nothing but blanks and control characters is left.
bool isBlankFileName(const QString& name);

QString workbookFileName(const QString& chosenName, const QString& startText);

// The folder part (up to and including the last "/"); "./" for a name
// without one, never the file system's root.
QString folderOf(const QString& fileName);

// The text after the last "/".
QString withoutFolder(const QString& fileName);

}  // namespace velloran::exporting
