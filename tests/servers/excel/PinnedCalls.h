#pragma once
// A workbook made of the calls the export makes (texts, the text format,
// widths), over more rows and columns than one .xls sheet holds, with late
// writes, long and wide texts: its .xls file is pinned byte for byte.
#include "Workbook.h"

#include <string>

namespace velloran::testing {

inline void pinnedCalls(workbook::Workbook& w) {
    auto textFormat = [](workbook::Workbook& book, std::uint32_t row, std::uint32_t column, bool text) {
        book.setFormat(row, column, text ? workbook::CellFormat::Text : workbook::CellFormat::General);
    };
    w.setColumnWidth(0, 18);
    w.setColumnWidth(1, 50);
    w.setColumnWidth(3, 8.43);
    w.setColumnWidth(300, 12);
    const char* header[] = {"文档ID", "Form", "标题", "2019", "Remarks"};
    for (unsigned c = 0; c < 5; ++c) w.setText(0, c, header[c]);
    textFormat(w, 0, 3, true);
    std::string longText;
    for (int i = 0; i < 3000; ++i) longText += static_cast<char>('a' + i % 26);
    std::string longWide;
    for (int i = 0; i < 2000; ++i) longWide += (i % 3 == 0) ? "😀" : "中";
    for (unsigned r = 1; r <= 70000; ++r) {
        w.setText(r, 0, std::string("R").append(std::to_string(r)));
        w.setText(r, 1, r % 7 == 0 ? std::string("会议纪要：第").append(std::to_string(r)).append("次")
                                : std::string("plain ").append(std::to_string(r * 31)));
        w.setText(r, 2, r % 2 ? "Memo" : "Reply");
        w.setText(r, 3, r % 3 == 0 ? std::string() : std::to_string(r % 1000));
        if (r % 3 == 1) textFormat(w, r, 3, true);
        if (r % 5000 == 0) w.setText(r, 4, longText + std::to_string(r));
        if (r % 5001 == 0) w.setText(r, 4, longWide);
        if (r % 11 == 0) w.setText(r, 4, std::string("Grüße 😀 𝄞 ").append(std::to_string(r)));
    }
    w.setText(5, 300, "far right");
    w.setText(66000, 260, "far corner");
    w.setText(0, 5, "late header");
    textFormat(w, 1, 0, true);
    textFormat(w, 2, 3, false);
}

}  // namespace velloran::testing
