#include "Paging.h"

#include <algorithm>

namespace velloran::browse {

std::optional<int> readPositionFor(PageButton button, int readPosition, int viewDocumentCount, bool iconStyle) {
    if (viewDocumentCount == 0 || iconStyle) return std::nullopt;
    const bool unreadLeft = viewDocumentCount > readPosition;
    switch (button) {
    case PageButton::First:
        return 0;
    case PageButton::Previous:
        return std::max(readPosition - kPagingStep, 0);
    case PageButton::Next:
        if (!unreadLeft) return std::nullopt;
        return readPosition;
    case PageButton::Last:
        if (!unreadLeft) return std::nullopt;
        return std::max(viewDocumentCount / kPagingStep * kPagingStep - 1, 0);
    }
    return std::nullopt;
}

}  // namespace velloran::browse
