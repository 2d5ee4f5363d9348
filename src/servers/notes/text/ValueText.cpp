#include "text/ValueText.h"

#include <chrono>
#include <regex>

namespace velloran::notes::text {

namespace {

using namespace std::chrono;

constexpr std::int64_t kMsPerDay = 86'400'000;

}  // namespace

std::string valueText(const Value& value, platform::TimeZone zone) {
    if (auto* text = std::get_if<std::string>(&value)) return *text;
    if (auto* number = std::get_if<double>(&value)) return platform::numberText(*number);
    const auto& moment = std::get<DateTime>(value);
    if (!moment.hasDate) return platform::timeOfDayText(moment.msecsSinceEpoch);
    return platform::dateTimeText(moment.msecsSinceEpoch, moment.hasTime, zone);
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
