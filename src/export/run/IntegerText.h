#pragma once
// Whole numbers typed as text, read the way the start number is read:
// optional leading blanks, an optional "-" or "+", then decimal digits
// within the signed 32-bit range, or one to eight hexadecimal digits after
// "$", "x", "X", "0x" or "0X"; nothing may follow.
#include "errors/Failure.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace velloran::exporting {

std::optional<std::int32_t> parseInteger(const QString& text);

bool IsIntegerText(const QString& text);

// Throws a Failure of Kind::Number "'<text>' is not a valid integer value".
std::int32_t StrToInt(const QString& text);

}  // namespace velloran::exporting
