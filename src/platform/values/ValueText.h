#pragma once
// The one text form of a number or a moment, shared by the engine's @Text and
// view columns, the document list, the details window and the export:
//   numbers   at most 15 significant digits, without trailing zeros, written
//             out in full from 0.00001 up to (not including) 10^15 (100000,
//             0.3, -0.0001) and as d.ddde+XX outside that range (1e+15,
//             1.5e-06); 0 and -0 are "0"; NaN, "Infinity", "-Infinity".
//   moments   yyyy-MM-dd HH:mm:ss in the chosen zone (the C library's local
//             time by default), or yyyy-MM-dd of the UTC date when the
//             moment carries no time of day (a date is stored as its
//             midnight in UTC). A moment outside the years 1 to 9999 has no
//             calendar form here and shows its milliseconds since 1970 as a
//             number instead.
//   times     HH:mm:ss of a time of day without a date, in no zone.
#include <cstdint>
#include <optional>
#include <string>

namespace velloran::platform {

enum class TimeZone { Local, Utc };

std::string numberText(double number);
std::string dateTimeText(std::int64_t msecsSinceEpoch, bool hasTime, TimeZone zone = TimeZone::Local);
// The time of day `msecsIntoDay` after midnight (a whole day is taken off
// any more, and added to any less).
std::string timeOfDayText(std::int64_t msecsIntoDay);
// The moment dateTimeText shows, to the second, as a spreadsheet's date
// number: days since 1899-12-30 with the time of day as the fraction.
// Nothing for a moment before 1900-03-01 (where spreadsheets count a day
// that never was) or without a calendar form.
std::optional<double> spreadsheetSerial(std::int64_t msecsSinceEpoch, bool hasTime, TimeZone zone = TimeZone::Local);

}  // namespace velloran::platform
