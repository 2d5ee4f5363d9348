#include "text/ValueText.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <regex>

namespace velloran::notes::text {

namespace {

using namespace std::chrono;

constexpr std::int64_t kMsPerDay = 86'400'000;

std::int64_t floorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

}  // namespace

std::string numberText(double number) {
    if (std::isnan(number)) return "NaN";
    if (std::isinf(number)) return number > 0 ? "Infinity" : "-Infinity";
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.15g", number);
    return buffer;
}

std::string dateTimeText(const DateTime& moment) {
    std::int64_t days = floorDiv(moment.msecsSinceEpoch, kMsPerDay);
    std::int64_t msOfDay = moment.msecsSinceEpoch - days * kMsPerDay;
    year_month_day date{sys_days{std::chrono::days{days}}};
    char buffer[48];
    int length = std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02u", static_cast<int>(date.year()),
                               static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    if (moment.hasTime) {
        std::int64_t seconds = msOfDay / 1000;
        std::snprintf(buffer + length, sizeof buffer - static_cast<std::size_t>(length), " %02d:%02d:%02d",
                      static_cast<int>(seconds / 3600), static_cast<int>(seconds / 60 % 60),
                      static_cast<int>(seconds % 60));
    }
    return buffer;
}

std::string valueText(const Value& value) {
    if (auto* text = std::get_if<std::string>(&value)) return *text;
    if (auto* number = std::get_if<double>(&value)) return numberText(*number);
    return dateTimeText(std::get<DateTime>(value));
}

std::optional<DateTime> parseDateTime(const std::string& text) {
    static const std::regex pattern(
        R"((\d{4})-(\d{2})-(\d{2})(?:[T ](\d{2}):(\d{2})(?::(\d{2})(?:\.(\d{1,3}))?)?Z?)?)");
    std::smatch m;
    if (!std::regex_match(text, m, pattern)) return std::nullopt;
    year_month_day date{year{std::stoi(m[1])}, month{static_cast<unsigned>(std::stoi(m[2]))},
                        day{static_cast<unsigned>(std::stoi(m[3]))}};
    if (!date.ok()) return std::nullopt;
    std::int64_t ms = sys_days{date}.time_since_epoch().count() * kMsPerDay;
    if (!m[4].matched) return DateTime{ms, false};
    int hours = std::stoi(m[4]), minutes = std::stoi(m[5]);
    int seconds = m[6].matched ? std::stoi(m[6]) : 0;
    if (hours > 23 || minutes > 59 || seconds > 59) return std::nullopt;
    int millis = m[7].matched ? std::stoi((m[7].str() + "00").substr(0, 3)) : 0;
    return DateTime{ms + ((hours * 60 + minutes) * 60 + seconds) * 1000LL + millis, true};
}

}  // namespace velloran::notes::text
