#include "CsvWriter.h"

#include "CsvFields.h"
#include "WorkbookError.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <cstdio>
#include <memory>
#include <span>

namespace velloran::workbook::csv {

namespace {

// Text is handed to the file this much at a time, and the file asked to go
// to disk every few of those, so that the disk works while rows are made.
// A buffer holds the longest field (see mostStoredBytes), and stays in the
// processor's cache beside the texts and cells being read.
constexpr std::size_t kBufferBytes = 256 * 1024;
constexpr std::size_t kWritebackEvery = 4;

static_assert(mostTextBytes(3 * TextTable::kMaxUnits) <= kBufferBytes);

class TableWriter {
public:
    TableWriter(AtomicFile& file, Workbook& workbook)
        : file_(file), texts_(workbook.texts()), numbers_(workbook.numbers()), buffer_(new char[kBufferBytes]) {
        at_ = put(at_, "\xEF\xBB\xBF");
    }

    void write(const CellGrid& cells) {
        fields_ = cells.columns();
        cells.forEachRun(0, UINT32_MAX, [&](std::span<const Cell> run) {
            for (const Cell& cell : run) add(cell);
        });
        if (fields_ > 0) endRow();
        flush();
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
            *at_++ = ',';  // the next field of the row, as most are
        else
            commas(cell.column() - column_);
        column_ = cell.column();
        if (cell.hasText()) {
            CompactText text = texts_.stored(cell.textIndex());
            makeRoom(mostStoredBytes(text));
            at_ = putStored(at_, text, scratch_);
        } else if (cell.hasNumber()) {
            makeRoom(kMostNumberBytes);
            double value = numbers_.at(cell.numberIndex());
            at_ = cell.hasDateTimeFormat() ? putDateTime(at_, value) : putNumber(at_, value);
        }
    }

    void endRow() {
        if (column_ + 1 < fields_) commas(fields_ - 1 - column_);
        makeRoom(2);
        at_ = put(at_, "\r\n");
        column_ = 0;
    }

    // Separators for `count` fields, a buffer at a time.
    void commas(std::uint64_t count) {
        while (count > 0) {
            makeRoom(1);
            auto now = static_cast<std::size_t>(std::min<std::uint64_t>(count, room()));
            std::memset(at_, ',', now);
            at_ += now;
            count -= now;
        }
    }

    std::size_t room() const { return static_cast<std::size_t>(buffer_.get() + kBufferBytes - at_); }
    void makeRoom(std::size_t bytes) {
        if (room() < bytes) flush();
    }

    void flush() {
        const auto size = static_cast<std::size_t>(at_ - buffer_.get());
        if (std::fwrite(buffer_.get(), 1, size, file_.stream()) != size)
            throw WorkbookError("Cannot save the workbook as " + file_.target() + ": " + std::strerror(errno));
        at_ = buffer_.get();
        if (++flushes_ % kWritebackEvery == 0) file_.startWriteback();
    }

    AtomicFile& file_;
    TextReader texts_;
    NumberReader numbers_;
    std::unique_ptr<char[]> buffer_;  // left uninitialised: written before it is read
    char* at_ = buffer_.get();
    std::string scratch_;
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
