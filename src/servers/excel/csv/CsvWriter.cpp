#include "CsvWriter.h"

#include "CsvFields.h"
#include "WorkbookError.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <cstdio>
#include <span>

namespace velloran::workbook::csv {

namespace {

// Text is handed to the file this much at a time, and the file asked to go
// to disk every few of those, so that the disk works while rows are made.
constexpr std::size_t kFlushBytes = 1024 * 1024;
constexpr std::size_t kWritebackEvery = 2;

// The number of fields a row has: one past the furthest column of any cell.
std::uint32_t fieldsOf(const CellGrid& cells) {
    std::uint32_t fields = 0;
    cells.forEachRun(0, UINT32_MAX, [&](std::span<const Cell> run) {
        for (const Cell& cell : run) fields = std::max(fields, cell.column() + 1);
    });
    return fields;
}

class TableWriter {
public:
    TableWriter(AtomicFile& file, Workbook& workbook)
        : file_(file), texts_(workbook.texts()), numbers_(workbook.numbers()) {
        out_.reserve(kFlushBytes + 64 * 1024);
        out_.append("\xEF\xBB\xBF");
    }

    void write(const CellGrid& cells) {
        fields_ = fieldsOf(cells);
        cells.forEachRun(0, UINT32_MAX, [&](std::span<const Cell> run) {
            for (const Cell& cell : run) add(cell);
        });
        if (fields_ > 0) endRow();
        flush();
    }

private:
    // Moves to the cell's row and column, ending the rows before it.
    void add(const Cell& cell) {
        while (row_ < cell.row()) {
            endRow();
            ++row_;
        }
        for (; column_ < cell.column(); ++column_) out_.push_back(',');
        if (cell.hasText())
            appendText(out_, texts_.utf8(cell.textIndex()));
        else if (cell.hasNumber() && cell.hasDateTimeFormat())
            appendDateTime(out_, numbers_.at(cell.numberIndex()));
        else if (cell.hasNumber())
            appendNumber(out_, numbers_.at(cell.numberIndex()));
    }

    void endRow() {
        for (; column_ + 1 < fields_; ++column_) out_.push_back(',');
        out_.append("\r\n");
        column_ = 0;
        if (out_.size() >= kFlushBytes) flush();
    }

    void flush() {
        if (std::fwrite(out_.data(), 1, out_.size(), file_.stream()) != out_.size())
            throw WorkbookError("Cannot save the workbook as " + file_.target() + ": " + std::strerror(errno));
        out_.clear();
        if (++flushes_ % kWritebackEvery == 0) file_.startWriteback();
    }

    AtomicFile& file_;
    TextReader texts_;
    NumberReader numbers_;
    std::string out_;
    std::uint32_t fields_ = 0;
    std::uint32_t row_ = 0, column_ = 0;
    std::size_t flushes_ = 0;
};

}  // namespace

std::string saveWorkbook(Workbook& workbook, const std::string& path, Existing existing) {
    const CellGrid& cells = workbook.settledCells();
    AtomicFile file(path, existing);
    TableWriter(file, workbook).write(cells);
    return file.commit();
}

}  // namespace velloran::workbook::csv
