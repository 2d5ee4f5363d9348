#pragma once
// The workbook's file name: the chosen name, the ending of its format
// (".xls", ".xlsx" or ".csv", any letter case) dropped, then "_开始为第" +
// start text + "个文档" + that ending. The spreadsheet application saves in
// the format the name's ending says.
#include <QString>

namespace velloran::exporting {

enum class WorkbookFormat { Xls, Xlsx, Csv };

// ".xls", ".xlsx" or ".csv".
QString extensionOf(WorkbookFormat format);

// The format a file name asks for: a name ending in ".xlsx" or ".csv" (any
// letter case) is in that format, any other an Excel 97-2003 workbook.
WorkbookFormat formatOfName(const QString& fileName);

// True when nothing but blanks and control characters is left.
bool isBlankFileName(const QString& name);

QString workbookFileName(const QString& chosenName, const QString& startText, WorkbookFormat format);

// The folder part (up to and including the last "/"); "./" for a name
// without one, never the file system's root.
QString folderOf(const QString& fileName);

// The text after the last "/".
QString withoutFolder(const QString& fileName);

// The most names a workbook that is not to replace a file tries.
constexpr int kMaxFileNumber = 999;

// `fileName` for 1, else with " (number)" before its extension (from the
// last dot of its last part): "a/b.xls" and 2 give "a/b (2).xls".
QString numberedFileName(const QString& fileName, int number);

// Why the workbook could not be saved as `fileName` (absolute), told before
// the run so that no export is done for nothing; empty when it can.
// Replacing: a file of that name is to be replaced, else kept.
QString whyCannotSaveAs(const QString& fileName, bool replacing);

}  // namespace velloran::exporting
