#include "Paging.h"

#include <algorithm>

namespace velloran::browse {

int lastPageStart(int viewDocumentCount) {
    if (viewDocumentCount <= 0) return 0;
    return (viewDocumentCount - 1) / kPageSize * kPageSize;
}

std::optional<int> readPositionFor(PageButton button, int pageStart, int viewDocumentCount, bool iconStyle) {
    if (viewDocumentCount == 0 || iconStyle) return std::nullopt;
    const int last = lastPageStart(viewDocumentCount);
    switch (button) {
    case PageButton::First:
        return 0;
    case PageButton::Previous:
        return std::max(pageStart - kPageSize, 0);
    case PageButton::Next:
        if (pageStart >= last) return std::nullopt;
        return pageStart + kPageSize;
    case PageButton::Last:
        if (pageStart == last) return std::nullopt;
        return last;
    }
    return std::nullopt;
}

}  // namespace velloran::browse
