#include "XlsxWriter.h"

#include "SheetRows.h"
#include "SpillFile.h"
#include "WorkbookError.h"
#include "XlsxText.h"

#include <xlsxwriter.h>

#include <cstdio>

namespace velloran::workbook::xlsx {

namespace {

// Past this much text the zip container may pass 4 GB and needs its 64-bit
// extensions, which some older programs do not read; smaller files go without.
constexpr std::uint64_t kZip64FromTextBytes = std::uint64_t{1} << 30;
constexpr const char* kDateTimeFormat = "yyyy-mm-dd hh:mm:ss";
constexpr const char* kDateFormat = "yyyy-mm-dd";

// The library's workbook, freed however the save ends.
class Book {
public:
    // libxlsxwriter opens the file by name; it is given the name under
    // which this process reaches the temporary file it already holds open,
    // so it writes exactly that file and no name in the folder is looked
    // up again.
    Book(const AtomicFile& file, const Workbook& workbook) : target_(file.target()) {
        tmpdir_ = SpillFile::folder();
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        options.tmpdir = tmpdir_.data();
        options.use_zip64 = workbook.texts().storedBytes() >= kZip64FromTextBytes ? LXW_TRUE : LXW_FALSE;
        std::string self = "/proc/self/fd/" + std::to_string(::fileno(file.stream()));
        book_ = workbook_new_opt(self.c_str(), &options);
        if (!book_) fail("the workbook could not be started (out of memory)");
        textFormat_ = numberFormat("@");
        dateTimeFormat_ = numberFormat(kDateTimeFormat);
        dateFormat_ = numberFormat(kDateFormat);
    }
    ~Book() {
        if (book_) lxw_workbook_free(book_);
    }
    Book(const Book&) = delete;
    Book& operator=(const Book&) = delete;

    lxw_worksheet* addSheet(const std::string& name) {
        lxw_worksheet* sheet = workbook_add_worksheet(book_, name.c_str());
        if (!sheet) fail("the sheet " + name + " could not be added");
        return sheet;
    }
    lxw_format* formatOf(const Cell& cell) const {
        if (cell.hasTextFormat()) return textFormat_;
        if (cell.hasDateTimeFormat()) return dateTimeFormat_;
        return cell.hasDateFormat() ? dateFormat_ : nullptr;
    }
    void check(lxw_error error) const {
        if (error != LXW_NO_ERROR) fail(lxw_strerror(error));
    }
    // Writes the file; the library frees the workbook either way.
    void close() {
        lxw_error error = workbook_close(std::exchange(book_, nullptr));
        check(error);
    }

private:
    lxw_format* numberFormat(const char* code) {
        lxw_format* format = workbook_add_format(book_);
        if (!format) fail("out of memory");
        format_set_num_format(format, code);
        return format;
    }
    [[noreturn]] void fail(const std::string& why) const {
        throw cannotSaveWorkbook(target_, why);
    }

    std::string target_;
    std::string tmpdir_;
    lxw_workbook* book_ = nullptr;
    lxw_format* textFormat_ = nullptr;
    lxw_format* dateTimeFormat_ = nullptr;
    lxw_format* dateFormat_ = nullptr;
};

// Writes the cells of the sheets one after another, reading texts and
// numbers from the workbook in the order the cells need them.
class SheetWriter {
public:
    SheetWriter(Book& book, Workbook& workbook)
        : book_(book), cells_(workbook.settledCells()), widths_(workbook.columnWidths()), texts_(workbook.texts()),
          numbers_(workbook.numbers()) {}

    void write(const SheetBlock& block) {
        lxw_worksheet* sheet = book_.addSheet(block.name);
        writeWidths(sheet, block.columns);
        forEachRow(cells_, block, [&](const RowSlice& row) {
            if (row.lead) writeCell(sheet, row.sheetRow, 0, *row.lead);
            for (const Cell& cell : row.body)
                writeCell(sheet, row.sheetRow, static_cast<lxw_col_t>(block.columns.sheetIndexOf(cell.column())), cell);
        });
    }

private:
    void writeWidths(lxw_worksheet* sheet, const Stretch& columns) {
        auto set = [&](std::uint32_t column, std::uint16_t width) {
            auto at = static_cast<lxw_col_t>(columns.sheetIndexOf(column));
            book_.check(worksheet_set_column(sheet, at, at, width / 256.0, nullptr));
        };
        if (auto first = widths_.find(0); columns.repeatsFirst && first != widths_.end()) set(0, first->second);
        for (auto it = widths_.lower_bound(columns.first); it != widths_.end() && it->first <= columns.last; ++it)
            set(it->first, it->second);
    }

    void writeCell(lxw_worksheet* sheet, std::uint32_t row, lxw_col_t column, const Cell& cell) {
        lxw_format* format = book_.formatOf(cell);
        if (cell.hasText()) {
            escapeText(texts_.utf8(cell.textIndex()), text_);
            book_.check(worksheet_write_string(sheet, row, column, text_.c_str(), format));
        } else if (cell.hasNumber()) {
            book_.check(worksheet_write_number(sheet, row, column, numbers_.at(cell.numberIndex()), format));
        } else {
            book_.check(worksheet_write_blank(sheet, row, column, format));
        }
    }

    Book& book_;
    const CellGrid& cells_;
    const std::map<std::uint32_t, std::uint16_t>& widths_;
    TextReader texts_;
    NumberReader numbers_;
    std::string text_;
};

}  // namespace

std::string saveWorkbook(Workbook& workbook, const std::string& path, Existing existing) {
    const std::vector<SheetBlock> blocks = planSheets(workbook.settledCells(), kSheetLimits);
    AtomicFile file(path, existing);
    Book book(file, workbook);
    SheetWriter sheets(book, workbook);
    for (const SheetBlock& block : blocks) sheets.write(block);
    book.close();
    return file.commit();
}

}  // namespace velloran::workbook::xlsx
