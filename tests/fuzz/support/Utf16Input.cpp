#include "support/Utf16Input.h"

namespace velloran::fuzz {

QString fromUtf16Units(const std::uint8_t* data, std::size_t size) {
    QString text;
    text.reserve(static_cast<qsizetype>(size / 2));
    for (std::size_t i = 0; i + 1 < size; i += 2) text += QChar(static_cast<char16_t>(data[i] | data[i + 1] << 8));
    return text;
}

}  // namespace velloran::fuzz
