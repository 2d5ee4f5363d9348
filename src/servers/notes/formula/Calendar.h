#pragma once
// Date-times as calendar fields, for the date-time functions and @Text. A
// moment with a time of day reads in the evaluation's zone (local time for
// what the user sees, UTC for stored view indexes, see Context); a date
// without time is its UTC date, as it is stored.
#include "api/NotesApi.h"
#include "values/ValueText.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace velloran::notes::formula {

struct CalendarFields {
    std::int64_t year = 1970, month = 1, day = 1;
    std::int64_t hour = 0, minute = 0, second = 0;
    int millisecond = 0;
};

// Fails, naming `who`, outside the years 1 to 9999.
CalendarFields calendarFields(const DateTime& moment, platform::TimeZone zone, std::size_t position, const std::string& who);
// 1 for Sunday to 7 for Saturday.
int weekdayOf(const CalendarFields& fields);
// The moment of these fields. Fields beyond their range carry over, as
// month 13 into the next year or hour -1 into the day before; a result
// outside the years 1 to 9999 is an error naming `who`. Without time the
// result is the UTC midnight of the date.
DateTime momentOf(const CalendarFields& fields, bool hasTime, platform::TimeZone zone, std::size_t position,
                  const std::string& who);

}  // namespace velloran::notes::formula
