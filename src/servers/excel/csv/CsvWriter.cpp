#include "CsvWriter.h"

#include "CsvFields.h"
#include "CsvOutput.h"
#include <algorithm>
#include <cstring>
#include <span>

namespace velloran::workbook::csv {

namespace {

static_assert(mostTextBytes(3 * TextTable::kMaxUnits) <= CsvOutput::kBufferBytes, "a buffer holds any field");

class TableWriter {
public:
    TableWriter(AtomicFile& file, Workbook& workbook)
        : texts_(workbook.texts()), numbers_(workbook.numbers()), output_(file), room_(output_.start()) {
        room_.at = put(room_.at, "\xEF\xBB\xBF");
    }

    void write(const CellGrid& cells) {
        fields_ = cells.columns();
        cells.forEachRun(0, UINT32_MAX, [&](std::span<const Cell> run) {
            for (const Cell& cell : run) add(cell);
        });
        if (fields_ > 0) endRow();
        output_.finish(room_.at);
    }

private:
    static char* put(char* at, std::string_view bytes) {
        std::memcpy(at, bytes.data(), bytes.size());
        return at + bytes.size();
    }

    // Moves to the cell's row and column, ending the rows before it.
    void add(const Cell& cell) {
        while (row_ < cell.row()) {
            endRow();
            ++row_;
        }
        if (cell.column() == column_ + 1 && room() > 0)
            *room_.at++ = ',';  // the next field of the row, as most are
        else
            commas(cell.column() - column_);
        column_ = cell.column();
        if (cell.hasText()) {
            CompactText text = texts_.stored(cell.textIndex());
            makeRoom(mostStoredBytes(text));
            room_.at = putStored(room_.at, text, scratch_);
        } else if (cell.hasNumber()) {
            makeRoom(kMostNumberBytes);
            double value = numbers_.at(cell.numberIndex());
            if (cell.hasDateTimeFormat())
                room_.at = putDateTime(room_.at, value);
            else if (cell.hasDateFormat())
                room_.at = putDate(room_.at, value);
            else
                room_.at = putNumber(room_.at, value);
        }
    }

    void endRow() {
        if (column_ + 1 < fields_) commas(fields_ - 1 - column_);
        makeRoom(2);
        room_.at = put(room_.at, "\r\n");
        column_ = 0;
    }

    // Separators for `count` fields, a buffer at a time.
    void commas(std::uint64_t count) {
        while (count > 0) {
            makeRoom(1);
            auto now = static_cast<std::size_t>(std::min<std::uint64_t>(count, room()));
            std::memset(room_.at, ',', now);
            room_.at += now;
            count -= now;
        }
    }

    std::size_t room() const { return static_cast<std::size_t>(room_.end - room_.at); }
    void makeRoom(std::size_t bytes) {
        if (room() < bytes) room_ = output_.handOver(room_.at);
    }

    TextReader texts_;
    NumberReader numbers_;
    CsvOutput output_;
    CsvOutput::Room room_;
    std::string scratch_;
    std::uint32_t fields_ = 0;
    std::uint32_t row_ = 0, column_ = 0;
};

}  // namespace

std::string saveWorkbook(Workbook& workbook, const std::string& path, Existing existing) {
    const CellGrid& cells = workbook.settledCells();
    AtomicFile file(path, existing);
    TableWriter(file, workbook).write(cells);
    return file.commit();
}

}  // namespace velloran::workbook::csv
