#pragma once
// Where the document list reads from when a paging button is pressed. A page
// holds 100 documents; "上一页" steps back 2000 documents and "尾页" goes to
// one below the last multiple of 2000, as the list has always done.
#include <optional>

namespace velloran::browse {

enum class PageButton { First, Previous, Next, Last };

inline constexpr int kPageSize = 100;
inline constexpr int kPagingStep = 2000;

// The read position to load from, or nothing when the button does nothing:
// no document list is shown (`viewDocumentCount` 0 or `iconStyle`), or, for
// "下一页" and "尾页", every document has been read.
std::optional<int> readPositionFor(PageButton button, int readPosition, int viewDocumentCount, bool iconStyle);

}  // namespace velloran::browse
