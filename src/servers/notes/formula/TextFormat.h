#pragma once
// @Text with a format: letter codes, each optionally followed by digits,
// in any order and letter case.
//
// Numbers
//   G     general: the program's one text form of numbers (the default)
//   F     fixed: as many decimals as the digits say (2 without digits)
//   S     scientific: d.dddE+XX with that many decimals (2 without digits)
//   C     currency: fixed with "," between thousands, after "¥". The sign
//         is fixed, not the machine's, so that a stored view index reads
//         the same wherever it was built.
//   %, P  percent: the number times 100, followed by "%"
//   ,     "," between thousands;  ()  a negative number in brackets
//   e.g. "F2" 3.14159 -> "3.14", "C,0" 1234.5 -> "¥1,235", "%1" 0.125 -> "12.5%"
//   Decimals go up to 15, rounded to the nearest (an exact tie to even).
//
// Date-times (the program's yyyy-MM-dd HH:mm:ss form, in parts)
//   D0 year, month and day (yyyy-MM-dd; also D1, which always shows the
//      year: a stored text must not depend on the day it was made)
//   D2 month and day (MM-dd)     D3 year and month (yyyy-MM)
//   T0 hours, minutes, seconds   T1 hours and minutes
//   S0 date only   S1 time only   S2 date and time   S3 as S2
//   Without S, the parts named by D and T show; without D and T, a moment
//   shows its date and, when it has one, its time.
//
// Text is returned unchanged. An unknown code is an error.
#include "api/NotesApi.h"
#include "values/ValueText.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace velloran::notes::formula {

std::string formattedText(const Value& value, std::string_view format, platform::TimeZone zone, std::size_t position);

}  // namespace velloran::notes::formula
