#pragma once
#include <QString>

namespace velloran::platform {

// Removes every leading and trailing character whose code is 32 or less
// (blanks and control characters); inner ones stay.
inline QString trimControl(const QString& text) {
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text[start].unicode() <= 32) ++start;
    while (end > start && text[end - 1].unicode() <= 32) --end;
    return text.mid(start, end - start);
}

}  // namespace velloran::platform
