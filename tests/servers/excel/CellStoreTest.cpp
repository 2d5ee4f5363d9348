// Settling writes that arrive in any order: compared with a plain map that
// applies the same writes one by one.
#include "CellStore.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

using velloran::workbook::Cell;
using velloran::workbook::CellStore;

namespace {

struct Expected {
    std::uint32_t value = Cell::kValueUntouched;
    bool textFormat = false;
};
using Reference = std::map<std::pair<std::uint32_t, std::uint32_t>, Expected>;

// One random write to both stores: a value, an emptying, or a format.
void writeBoth(CellStore& store, Reference& reference, std::uint32_t row, std::uint32_t column, std::mt19937& random) {
    Expected& expected = reference[{row, column}];
    switch (random() % 4) {
        case 0:
        case 1: {
            std::uint32_t value = random() % 1000;
            store.setValue(row, column, value);
            expected.value = value;
            break;
        }
        case 2:
            store.clearValue(row, column);
            expected.value = Cell::kValueCleared;
            break;
        default: {
            bool text = random() % 2 == 0;
            store.setFormat(row, column, text ? Cell::Format::Text : Cell::Format::General);
            expected.textFormat = text;
        }
    }
}

void expectSame(CellStore& store, const Reference& reference) {
    std::vector<std::tuple<std::uint32_t, std::uint32_t, std::uint32_t, bool>> wanted, got;
    for (const auto& [position, expected] : reference) {
        bool hasValue = expected.value < Cell::kValueCleared;
        if (hasValue || expected.textFormat)
            wanted.emplace_back(position.first, position.second, hasValue ? expected.value : Cell::kValueCleared,
                                expected.textFormat);
    }
    for (const Cell& cell : store.settle())
        got.emplace_back(cell.row(), cell.column(), cell.hasText() ? cell.value() : Cell::kValueCleared,
                         cell.hasTextFormat());
    ASSERT_EQ(got, wanted);
}

}  // namespace

TEST(CellStore, SettlesLikeWritingOneByOne) {
    std::mt19937 random(20240607);
    for (int round = 0; round < 200; ++round) {
        CellStore store;
        Reference reference;
        // A header row written right to left with rewrites, then rows in
        // order with occasional writes back to earlier rows, settled midway
        // and written again.
        for (int i = 0; i < 3; ++i) {
            for (std::uint32_t column = 6; column-- > 0;) writeBoth(store, reference, 0, column, random);
            for (std::uint32_t row = 1; row < 30; ++row) {
                std::uint32_t target = random() % 10 == 0 ? random() % 30 : row;
                writeBoth(store, reference, target, random() % 6, random);
                writeBoth(store, reference, row, random() % 6, random);
            }
            expectSame(store, reference);
        }
    }
}

TEST(CellStore, WritesInRowOrderSettleAsTheyCame) {
    // The export's order: every write after the one before it, each a text
    // or the text format, settled midway; then writes that must not show,
    // and random writes, to earlier cells too, that must still be merged.
    std::mt19937 random(20261207);
    for (int round = 0; round < 50; ++round) {
        CellStore store;
        Reference reference;
        for (std::uint32_t row = 0; row < 40; ++row) {
            for (std::uint32_t column = 0; column < 5; ++column) {
                Expected& expected = reference[{row, column}];
                if (random() % 5 == 0) {
                    store.setFormat(row, column, Cell::Format::Text);
                    expected.textFormat = true;
                } else {
                    expected.value = random() % 1000;
                    store.setValue(row, column, expected.value);
                }
            }
            if (row == 20) expectSame(store, reference);
        }
        expectSame(store, reference);
        // In order still, but neither shows in the file: an emptied cell
        // and one given the general format only.
        store.clearValue(40, 0);
        store.setFormat(40, 1, Cell::Format::General);
        expectSame(store, reference);
        for (int i = 0; i < 3; ++i) writeBoth(store, reference, random() % 41, random() % 5, random);
        expectSame(store, reference);
    }
}

TEST(CellStore, WritesThatShowNothingAreNotHeld) {
    // The export's rows: a few texts among many empty texts, some cells
    // given the general format, all in row order. Only the texts are held.
    CellStore store;
    for (std::uint32_t row = 0; row < 2000; ++row) {
        for (std::uint32_t column = 0; column < 60; ++column) {
            if (column == row % 60)
                store.setValue(row, column, row);
            else if (column % 7 == 0)
                store.setFormat(row, column, Cell::Format::General);
            else
                store.clearValue(row, column);
        }
    }
    EXPECT_EQ(store.size(), 2000u);
    EXPECT_EQ(store.settle().size(), 2000u);
}

TEST(CellStore, EmptyingOutOfOrderStaysBoundedAndClearsText) {
    // Texts at the far end, then a million emptyings walking the grid
    // backwards, so every one may lie on a text: what is held stays a small
    // part of the writes, and the texts they land on are gone.
    CellStore store;
    Reference reference;
    constexpr std::uint32_t kRows = 10000, kColumns = 100;
    for (std::uint32_t column = 0; column < kColumns; ++column) {
        store.setValue(kRows - 1, column, column);
        reference[{kRows - 1, column}].value = column;
    }
    store.setFormat(kRows - 1, 4, Cell::Format::Text);
    reference[{kRows - 1, 4}].textFormat = true;
    for (std::uint32_t row = kRows; row-- > 0;) {
        for (std::uint32_t column = kColumns; column-- > 0;) {
            if (row == kRows - 1 && column % 2 == 1) continue;
            store.clearValue(row, column);
            if (row == kRows - 1) reference[{row, column}].value = Cell::kValueCleared;
        }
        ASSERT_LT(store.size(), 200000u) << row;
    }
    expectSame(store, reference);
}

TEST(CellStore, SettlingOnItsOwnKeepsTheLastWrite) {
    // Enough random writes all over a small grid that the store settles
    // itself several times on the way.
    std::mt19937 random(20250311);
    CellStore store;
    Reference reference;
    for (int i = 0; i < 400000; ++i) writeBoth(store, reference, random() % 300, random() % 40, random);
    expectSame(store, reference);
}

// The format's high bit shares a word with the column: each format a
// settled cell keeps, the date one with that bit set included, leaves the
// column, the order and the value as they were, up to the last column a
// position can name.
TEST(CellStore, EveryFormatKeepsItsCellsPlaceUpToTheLastColumn) {
    constexpr std::uint32_t kLastColumn = 0x7FFFFFFE;
    for (Cell::Format format : {Cell::Format::Text, Cell::Format::DateTime, Cell::Format::Date}) {
        CellStore store;
        store.setFormat(0, kLastColumn, format);
        store.setValue(0, kLastColumn, 7);
        store.setValue(0, 1, 5);
        std::vector<Cell> settled;
        for (const Cell& cell : store.settle()) settled.push_back(cell);
        ASSERT_EQ(settled.size(), 2u) << static_cast<int>(format);
        EXPECT_EQ(settled[0].column(), 1u);
        EXPECT_EQ(settled[1].column(), kLastColumn);
        EXPECT_EQ(settled[1].format(), format);
        EXPECT_EQ(settled[1].value(), 7u);
    }
}
