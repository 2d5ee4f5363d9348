#include "values/ValueText.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>

namespace velloran::platform {

namespace {

// Numbers whose rounded decimal exponent lies in this range are written out
// in full; the rest take the exponent form.
constexpr int kSmallestPlainExponent = -5;
constexpr int kLargestPlainExponent = 14;

// A finite, non-zero number rounded to 15 significant digits: the value is
// d.ddd... x 10^exponent, with the digits' trailing zeros dropped.
struct Decimal {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

// "%.14e" rounds once to exactly 15 significant digits and reports the
// exponent after rounding, so 999999999999999.9 comes back as 1e+15.
Decimal roundedDecimal(double number) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.14e", number);
    const char* at = buffer;
    Decimal decimal;
    decimal.negative = *at == '-';
    if (decimal.negative) ++at;
    for (; *at != 'e'; ++at)
        if (*at != '.') decimal.digits += *at;
    decimal.exponent = std::atoi(at + 1);
    decimal.digits.erase(decimal.digits.find_last_not_of('0') + 1);
    return decimal;
}

void appendPlainForm(std::string& text, const Decimal& decimal) {
    if (decimal.exponent < 0) {
        text.append("0.").append(static_cast<std::size_t>(-decimal.exponent - 1), '0').append(decimal.digits);
        return;
    }
    const auto integerDigits = static_cast<std::size_t>(decimal.exponent) + 1;
    if (decimal.digits.size() <= integerDigits) {
        text.append(decimal.digits).append(integerDigits - decimal.digits.size(), '0');
        return;
    }
    text.append(decimal.digits, 0, integerDigits).append(1, '.').append(decimal.digits, integerDigits);
}

// As C's %g writes it: one digit before the point, a signed exponent of at
// least two digits.
void appendExponentForm(std::string& text, const Decimal& decimal) {
    text.append(decimal.digits, 0, 1);
    if (decimal.digits.size() > 1) text.append(1, '.').append(decimal.digits, 1);
    char exponent[16];
    std::snprintf(exponent, sizeof exponent, "e%c%02d", decimal.exponent < 0 ? '-' : '+', std::abs(decimal.exponent));
    text.append(exponent);
}

using namespace std::chrono;

constexpr std::int64_t kFirstDay = sys_days{year{1} / January / 1}.time_since_epoch().count();
constexpr std::int64_t kEndDay = sys_days{year{10000} / January / 1}.time_since_epoch().count();
constexpr std::int64_t kSecondsPerDay = 86'400;

std::int64_t floorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

struct CalendarTime {
    int year = 0;
    unsigned month = 0, day = 0;
    int hour = 0, minute = 0, second = 0;
};

bool inCalendarRange(int yearNumber) { return yearNumber >= 1 && yearNumber <= 9999; }

std::optional<CalendarTime> utcTime(std::int64_t seconds) {
    const std::int64_t dayNumber = floorDiv(seconds, kSecondsPerDay);
    if (dayNumber < kFirstDay || dayNumber >= kEndDay) return std::nullopt;
    const year_month_day date{sys_days{days{dayNumber}}};
    const auto secondOfDay = static_cast<int>(seconds - dayNumber * kSecondsPerDay);
    return CalendarTime{static_cast<int>(date.year()), static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                        secondOfDay / 3600, secondOfDay / 60 % 60, secondOfDay % 60};
}

std::optional<CalendarTime> localTime(std::int64_t seconds) {
    // The UTC check first keeps the value well inside what time_t and the
    // C library handle; the local date may still cross year 1 or 9999.
    if (!utcTime(seconds)) return std::nullopt;
    const auto moment = static_cast<std::time_t>(seconds);
    std::tm parts{};
    if (!::localtime_r(&moment, &parts) || !inCalendarRange(parts.tm_year + 1900)) return std::nullopt;
    return CalendarTime{parts.tm_year + 1900, static_cast<unsigned>(parts.tm_mon + 1), static_cast<unsigned>(parts.tm_mday),
                        parts.tm_hour, parts.tm_min, parts.tm_sec};
}

std::string calendarText(const CalendarTime& time, bool hasTime) {
    char buffer[48];
    if (hasTime)
        std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02u %02d:%02d:%02d", time.year, time.month, time.day, time.hour,
                      time.minute, time.second);
    else
        std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02u", time.year, time.month, time.day);
    return buffer;
}

// The moment's calendar form as dateTimeText shows it.
std::optional<CalendarTime> calendarTime(std::int64_t msecsSinceEpoch, bool hasTime, TimeZone zone) {
    const std::int64_t seconds = floorDiv(msecsSinceEpoch, 1000);
    return hasTime && zone == TimeZone::Local ? localTime(seconds) : utcTime(seconds);
}

}  // namespace

std::optional<double> spreadsheetSerial(std::int64_t msecsSinceEpoch, bool hasTime, TimeZone zone) {
    // Spreadsheets count 1900-02-29, a day that never was: their numbers
    // agree with the calendar only from 1900-03-01 on.
    constexpr std::int64_t kDayZero = sys_days{year{1899} / December / 30}.time_since_epoch().count();
    constexpr std::int64_t kFirstAgreeingDay = sys_days{year{1900} / March / 1}.time_since_epoch().count();
    const std::optional<CalendarTime> time = calendarTime(msecsSinceEpoch, hasTime, zone);
    if (!time) return std::nullopt;
    const std::int64_t day =
        sys_days{year{time->year} / month{time->month} / ::std::chrono::day{time->day}}.time_since_epoch().count();
    if (day < kFirstAgreeingDay) return std::nullopt;
    const int secondOfDay = time->hour * 3600 + time->minute * 60 + time->second;
    return static_cast<double>(day - kDayZero) + static_cast<double>(secondOfDay) / kSecondsPerDay;
}

std::string numberText(double number) {
    if (std::isnan(number)) return "NaN";
    if (std::isinf(number)) return number > 0 ? "Infinity" : "-Infinity";
    if (number == 0) return "0";
    const Decimal decimal = roundedDecimal(number);
    const bool plain = decimal.exponent >= kSmallestPlainExponent && decimal.exponent <= kLargestPlainExponent;
    std::string text = decimal.negative ? "-" : "";
    plain ? appendPlainForm(text, decimal) : appendExponentForm(text, decimal);
    return text;
}

std::string timeOfDayText(std::int64_t msecsIntoDay) {
    const std::int64_t seconds = floorDiv(msecsIntoDay, 1000);
    const auto secondOfDay = static_cast<int>(seconds - floorDiv(seconds, kSecondsPerDay) * kSecondsPerDay);
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", secondOfDay / 3600, secondOfDay / 60 % 60, secondOfDay % 60);
    return buffer;
}

std::string dateTimeText(std::int64_t msecsSinceEpoch, bool hasTime, TimeZone zone) {
    const std::optional<CalendarTime> time = calendarTime(msecsSinceEpoch, hasTime, zone);
    if (!time) return numberText(static_cast<double>(msecsSinceEpoch));
    return calendarText(*time, hasTime);
}

}  // namespace velloran::platform
