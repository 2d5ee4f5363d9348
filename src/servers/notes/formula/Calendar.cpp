#include "formula/Calendar.h"

#include "formula/Ranges.h"
#include "formula/Syntax.h"

#include <chrono>
#include <ctime>
#include <optional>

namespace velloran::notes::formula {

namespace {

using namespace std::chrono;

constexpr std::int64_t kMsPerDay = 86'400'000;
// Fields are checked against this before any arithmetic, so that no sum
// below can overflow; anything near it lies far outside the calendar.
constexpr std::int64_t kLargestField = std::int64_t{1} << 32;

std::int64_t floorDiv(std::int64_t a, std::int64_t b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }

[[noreturn]] void beyondCalendar(std::size_t position, const std::string& who) {
    fail(position, who + " goes beyond the years 1 to 9999");
}

CalendarFields fieldsOfUtc(std::int64_t ms) {
    std::int64_t dayNumber = floorDiv(ms, kMsPerDay), inDay = ms - dayNumber * kMsPerDay;
    year_month_day date{sys_days{days{dayNumber}}};
    return {static_cast<int>(date.year()), static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
            inDay / 3'600'000, inDay / 60'000 % 60, inDay / 1000 % 60, static_cast<int>(inDay % 1000)};
}

CalendarFields fieldsOfLocal(std::int64_t ms) {
    std::int64_t seconds = floorDiv(ms, 1000);
    auto moment = static_cast<std::time_t>(seconds);
    std::tm parts{};
    if (!::localtime_r(&moment, &parts)) return fieldsOfUtc(ms);
    return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec,
            static_cast<int>(ms - seconds * 1000)};
}

// Milliseconds since 1970 of the fields read as UTC, carrying over fields
// beyond their range; nothing when the year leaves the calendar.
std::optional<std::int64_t> utcMs(const CalendarFields& f) {
    for (std::int64_t field : {f.year, f.month, f.day, f.hour, f.minute, f.second})
        if (field > kLargestField || field < -kLargestField) return std::nullopt;
    std::int64_t months = f.year * 12 + f.month - 1;
    std::int64_t wholeYear = floorDiv(months, 12);
    if (wholeYear < 1 || wholeYear > 9999) return std::nullopt;
    auto month = static_cast<unsigned>(months - wholeYear * 12 + 1);
    std::int64_t first = sys_days{year{static_cast<int>(wholeYear)} / std::chrono::month{month} / 1}.time_since_epoch().count();
    std::int64_t dayNumber = first + f.day - 1;
    if (dayNumber > kLargestField || dayNumber < -kLargestField) return std::nullopt;
    return ((dayNumber * 24 + f.hour) * 60 + f.minute) * 60'000 + f.second * 1000 + f.millisecond;
}

// The UTC moment at which local clocks show `wall` (local fields written as
// if UTC); mktime settles summer time and gaps.
std::int64_t localToUtc(std::int64_t wall) {
    CalendarFields f = fieldsOfUtc(wall);
    std::tm parts{};
    parts.tm_year = static_cast<int>(f.year - 1900);
    parts.tm_mon = static_cast<int>(f.month - 1);
    parts.tm_mday = static_cast<int>(f.day);
    parts.tm_hour = static_cast<int>(f.hour);
    parts.tm_min = static_cast<int>(f.minute);
    parts.tm_sec = static_cast<int>(f.second);
    parts.tm_isdst = -1;
    std::time_t seconds = std::mktime(&parts);
    return static_cast<std::int64_t>(seconds) * 1000 + f.millisecond;
}

}  // namespace

CalendarFields calendarFields(const DateTime& moment, platform::TimeZone zone, std::size_t position, const std::string& who) {
    std::int64_t ms = calendarMoment(moment, position, who).msecsSinceEpoch;
    // A date alone, or a time alone, is shown as written, in no zone.
    bool zoned = moment.hasTime && moment.hasDate && zone == platform::TimeZone::Local;
    CalendarFields fields = zoned ? fieldsOfLocal(ms) : fieldsOfUtc(ms);
    if (fields.year < 1 || fields.year > 9999) beyondCalendar(position, who);
    return fields;
}

int weekdayOf(const CalendarFields& fields) {
    year_month_day date{year{static_cast<int>(fields.year)} / month{static_cast<unsigned>(fields.month)} /
                        day{static_cast<unsigned>(fields.day)}};
    return static_cast<int>(weekday{sys_days{date}}.c_encoding()) + 1;
}

DateTime momentOf(const CalendarFields& fields, bool hasTime, platform::TimeZone zone, std::size_t position,
                  const std::string& who) {
    CalendarFields wanted = fields;
    if (!hasTime) wanted.hour = wanted.minute = wanted.second = wanted.millisecond = 0;
    std::optional<std::int64_t> ms = utcMs(wanted);
    if (!ms) beyondCalendar(position, who);
    if (hasTime && zone == platform::TimeZone::Local) ms = localToUtc(*ms);
    if (!hasTime) ms = floorDiv(*ms, kMsPerDay) * kMsPerDay;
    return calendarMoment(DateTime{*ms, hasTime}, position, who);
}

}  // namespace velloran::notes::formula
