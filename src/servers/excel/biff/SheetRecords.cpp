#include "SheetRecords.h"

#include "CommonRecords.h"
#include "RecordTypes.h"
#include "SheetRows.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <vector>

namespace velloran::workbook::biff {

namespace {

// Rows go out in groups of 32: the ROW records of the group, then its cells.
constexpr std::uint32_t kRowsPerGroup = 32;

struct ColumnRun {
    std::uint16_t first, last, width;
};

void writeColumnRun(RecordStream& out, const ColumnRun& run) {
    out.begin(record::kColInfo);
    out.u16(run.first);
    out.u16(run.last);
    out.u16(run.width);
    out.u16(kGeneralXf);
    out.u16(0x0002);  // width set by the user
    out.u16(0);
    out.end();
}

// COLINFO records for the logical columns this block shows, equal widths
// of neighbouring columns in one record.
void writeColumnWidths(RecordStream& out, const std::map<std::uint32_t, std::uint16_t>& widths, const Stretch& columns) {
    std::optional<ColumnRun> run;
    auto add = [&](std::uint32_t column, std::uint16_t width) {
        auto sheetColumn = static_cast<std::uint16_t>(columns.sheetIndexOf(column));
        if (run && run->last + 1 == sheetColumn && run->width == width) {
            run->last = sheetColumn;
            return;
        }
        if (run) writeColumnRun(out, *run);
        run = ColumnRun{sheetColumn, sheetColumn, width};
    };
    if (auto first = widths.find(0); columns.repeatsFirst && first != widths.end()) add(0, first->second);
    for (auto it = widths.lower_bound(columns.first); it != widths.end() && it->first <= columns.last; ++it)
        add(it->first, it->second);
    if (run) writeColumnRun(out, *run);
}

void writeDimensions(RecordStream& out, const SheetExtent& extent) {
    out.begin(record::kDimensions);
    out.u32(extent.firstRow);
    out.u32(extent.endRow);
    out.u16(extent.firstColumn);
    out.u16(extent.endColumn);
    out.u16(0);
    out.end();
}

void writeWindow2(RecordStream& out, bool active) {
    // Grid lines, headers, zeros, default header colour, outline symbols;
    // the active sheet is also selected and shown.
    constexpr std::uint16_t kShown = 0x00B6, kSelected = 0x0600;
    out.begin(record::kWindow2);
    out.u16(active ? kShown | kSelected : kShown);
    out.u16(0);     // top row
    out.u16(0);     // left column
    out.u32(0x40);  // grid line colour: automatic
    out.u16(0);     // page break preview zoom: default
    out.u16(0);     // normal zoom: default
    out.u32(0);
    out.end();
}

// Counts the bytes of whole records without keeping them.
class RecordCounter {
public:
    template <std::size_t N>
    void record(std::uint16_t, const std::array<std::uint16_t, N>&) {
        bytes_ += RecordStream::kHeaderSize + 2 * N;
    }
    std::uint64_t bytes() const { return bytes_; }

private:
    std::uint64_t bytes_ = 0;
};

// Writes the ROW and cell records into a RecordStream, or counts them with a
// RecordCounter. The rows of a group are copied, as the cells they come
// from may be gone before the group is written.
template <typename Records>
class CellWriter {
public:
    // `numbers` null: the cells are only counted, their numbers not needed.
    CellWriter(Records& out, const Stretch& columns, NumberReader* numbers)
        : out_(out), columns_(columns), numbers_(numbers) {}

    void add(const RowSlice& row) {
        if (count_ > 0 && row.sheetRow / kRowsPerGroup != group_[0].sheetRow / kRowsPerGroup) flush();
        std::size_t from = groupCells_.size();
        groupCells_.insert(groupCells_.end(), row.body.begin(), row.body.end());
        group_[count_++] = {row.sheetRow, row.lead != nullptr, row.lead ? *row.lead : Cell(), from, groupCells_.size()};
    }

    void flush() {
        for (std::size_t i = 0; i < count_; ++i) writeRow(group_[i]);
        for (std::size_t i = 0; i < count_; ++i) writeCells(group_[i]);
        count_ = 0;
        groupCells_.clear();
    }

    const SheetStats& stats() const { return stats_; }

private:
    // A row of the group: its own cells lie in groupCells_[from, to).
    struct HeldRow {
        std::uint32_t sheetRow;
        bool hasLead;
        Cell lead;
        std::size_t from, to;
    };

    std::uint16_t sheetColumn(const Cell& cell) const {
        return static_cast<std::uint16_t>(columns_.sheetIndexOf(cell.column()));
    }
    std::uint16_t firstColumn(const HeldRow& row) const {
        return row.hasLead ? 0 : sheetColumn(groupCells_[row.from]);
    }
    std::uint16_t lastColumn(const HeldRow& row) const {
        return row.from == row.to ? 0 : sheetColumn(groupCells_[row.to - 1]);
    }

    void writeRow(const HeldRow& row) {
        std::uint16_t first = firstColumn(row), end = lastColumn(row) + 1;
        // Default height, reserved, then the default format (XF 15) and no other options.
        out_.record(record::kRow, std::array<std::uint16_t, 8>{static_cast<std::uint16_t>(row.sheetRow), first, end,
                                                               0x00FF, 0, 0, 0x0100, kGeneralXf});
        extend(row.sheetRow, first, end);
    }

    void extend(std::uint32_t row, std::uint16_t first, std::uint16_t end) {
        SheetExtent& extent = stats_.extent;
        bool empty = extent.endRow == 0;
        extent.firstRow = empty ? row : std::min(extent.firstRow, row);
        extent.endRow = row + 1;
        extent.firstColumn = empty ? first : std::min(extent.firstColumn, first);
        extent.endColumn = std::max(extent.endColumn, end);
    }

    void writeCells(const HeldRow& row) {
        if (row.hasLead) writeCell(row.sheetRow, 0, row.lead);
        for (std::size_t i = row.from; i < row.to; ++i)
            writeCell(row.sheetRow, sheetColumn(groupCells_[i]), groupCells_[i]);
    }

    static std::uint16_t xfOf(const Cell& cell) {
        if (cell.hasTextFormat()) return kTextXf;
        if (cell.hasDateTimeFormat()) return kDateTimeXf;
        return cell.hasDateFormat() ? kDateXf : kGeneralXf;
    }

    void writeNumber(std::uint16_t row, std::uint16_t column, std::uint16_t xf, const Cell& cell) {
        std::array<std::uint16_t, 4> bits{};
        if (numbers_) {
            double value = numbers_->at(cell.numberIndex());
            std::memcpy(bits.data(), &value, sizeof value);
        }
        out_.record(record::kNumber, std::array<std::uint16_t, 7>{row, column, xf, bits[0], bits[1], bits[2], bits[3]});
    }

    void writeCell(std::uint32_t row, std::uint16_t column, const Cell& cell) {
        auto sheetRow = static_cast<std::uint16_t>(row);
        std::uint16_t xf = xfOf(cell);
        if (cell.hasNumber()) return writeNumber(sheetRow, column, xf, cell);
        if (!cell.hasText()) return out_.record(record::kBlank, std::array<std::uint16_t, 3>{sheetRow, column, xf});
        std::uint32_t index = cell.textIndex();
        out_.record(record::kLabelSst, std::array<std::uint16_t, 5>{sheetRow, column, xf, static_cast<std::uint16_t>(index),
                                                                    static_cast<std::uint16_t>(index >> 16)});
        ++stats_.textCells;
    }

    Records& out_;
    const Stretch& columns_;
    NumberReader* numbers_;
    std::array<HeldRow, kRowsPerGroup> group_{};
    std::size_t count_ = 0;
    std::vector<Cell> groupCells_;
    SheetStats stats_;
};

template <typename Records>
SheetStats writeCells(Records& out, const SheetContent& content, const SheetBlock& block, NumberReader* numbers) {
    CellWriter<Records> cells(out, block.columns, numbers);
    forEachRow(*content.cells, block, [&](const RowSlice& row) { cells.add(row); });
    cells.flush();
    return cells.stats();
}

void writeSheetHead(RecordStream& out, const SheetContent& content, const SheetBlock& block,
                    const SheetExtent& extent) {
    writeBof(out, Substream::Worksheet);
    out.begin(record::kWsBool);
    out.u16(0x04C1);  // show automatic page breaks and outline symbols, summary rows below
    out.end();
    writeColumnWidths(out, *content.columnWidths, block.columns);
    writeDimensions(out, extent);
}

void writeSheetTail(RecordStream& out, bool active) {
    writeWindow2(out, active);
    writeEof(out);
}

}  // namespace

SheetMeasure measureSheet(const SheetContent& content, const SheetBlock& block, bool active) {
    RecordStream others(nullptr);
    writeSheetHead(others, content, block, {});
    writeSheetTail(others, active);
    RecordCounter cells;
    SheetStats stats = writeCells(cells, content, block, nullptr);
    return {stats, others.position() + cells.bytes()};
}

void writeSheet(RecordStream& out, const SheetContent& content, const SheetBlock& block, const SheetExtent& extent,
                bool active) {
    writeSheetHead(out, content, block, extent);
    NumberReader numbers(*content.numbers);
    writeCells(out, content, block, &numbers);
    writeSheetTail(out, active);
}

}  // namespace velloran::workbook::biff
