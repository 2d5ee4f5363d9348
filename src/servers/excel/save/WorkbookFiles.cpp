#include "WorkbookFiles.h"

#include "CsvWriter.h"
#include "WorkbookWriter.h"
#include "XlsxWriter.h"

namespace velloran::workbook {

namespace {

bool endsWith(std::string_view path, std::string_view extension) {
    if (path.size() < extension.size()) return false;
    std::string_view tail = path.substr(path.size() - extension.size());
    for (std::size_t i = 0; i < tail.size(); ++i)
        if ((tail[i] | 0x20) != extension[i]) return false;
    return true;
}

}  // namespace

std::optional<FileFormat> formatOfCode(int code) {
    switch (code) {
        case 56: return FileFormat::Xls;
        case 51: return FileFormat::Xlsx;
        case 6:
        case 62: return FileFormat::Csv;
        default: return std::nullopt;
    }
}

FileFormat formatOfName(std::string_view path) {
    if (endsWith(path, ".xlsx")) return FileFormat::Xlsx;
    if (endsWith(path, ".csv")) return FileFormat::Csv;
    return FileFormat::Xls;
}

std::string saveWorkbook(Workbook& workbook, const std::string& path, FileFormat format, Existing existing) {
    switch (format) {
        case FileFormat::Xlsx: return xlsx::saveWorkbook(workbook, path, existing);
        case FileFormat::Csv: return csv::saveWorkbook(workbook, path, existing);
        case FileFormat::Xls: break;
    }
    return biff::saveWorkbook(workbook, path, existing);
}

}  // namespace velloran::workbook
