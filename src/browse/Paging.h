#pragma once
// Where the document list reads from when a paging button is pressed. A page
// holds 100 documents and every page starts at a multiple of 100: "上一页"
// shows the 100 before the page on screen, "尾页" the page that holds the
// view's last document.
#include <optional>

namespace velloran::browse {

enum class PageButton { First, Previous, Next, Last };

inline constexpr int kPageSize = 100;

// The read position to load from, given the read position the page on
// screen was loaded from (`pageStart`), or nothing when the button does
// nothing: no document list is shown (`viewDocumentCount` 0 or
// `iconStyle`), or, for "下一页" and "尾页", the last page is the one on
// screen.
std::optional<int> readPositionFor(PageButton button, int pageStart, int viewDocumentCount, bool iconStyle);

// The read position of the page that holds the last of `viewDocumentCount`
// documents.
int lastPageStart(int viewDocumentCount);

}  // namespace velloran::browse
