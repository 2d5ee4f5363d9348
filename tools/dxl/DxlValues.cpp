#include "dxl/DxlValues.h"

#include <array>
#include <cctype>
#include <charconv>
#include <chrono>
#include <cstdlib>
#include <string>

namespace velloran::tools::dxl {

namespace {

// Reads `count` digits at `at`, advancing it; nothing when they are not there.
std::optional<int> digits(std::string_view text, std::size_t& at, std::size_t count) {
    if (at + count > text.size()) return std::nullopt;
    int value = 0;
    for (std::size_t i = 0; i < count; ++i) {
        char c = text[at + i];
        if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
        value = value * 10 + (c - '0');
    }
    at += count;
    return value;
}

// The zone's offset east of UTC in minutes: "", "Z", "+HH", "-HHMM".
std::optional<int> zoneMinutes(std::string_view text, std::size_t at) {
    if (at == text.size() || text.substr(at) == "Z") return 0;
    if (text[at] != '+' && text[at] != '-') return std::nullopt;
    int sign = text[at] == '-' ? -1 : 1;
    ++at;
    std::optional<int> hours = digits(text, at, 2);
    std::optional<int> minutes = at == text.size() ? std::optional<int>(0) : digits(text, at, 2);
    if (!hours || !minutes || at != text.size() || *hours > 23 || *minutes > 59) return std::nullopt;
    return sign * (*hours * 60 + *minutes);
}

std::optional<std::chrono::sys_days> date(std::string_view text, std::size_t& at) {
    std::optional<int> year = digits(text, at, 4), month = digits(text, at, 2), day = digits(text, at, 2);
    if (!year || !month || !day) return std::nullopt;
    std::chrono::year_month_day ymd{std::chrono::year{*year}, std::chrono::month{static_cast<unsigned>(*month)},
                                    std::chrono::day{static_cast<unsigned>(*day)}};
    if (!ymd.ok()) return std::nullopt;
    return std::chrono::sys_days{ymd};
}

// Milliseconds into the day of "HHMMSS[,hh]".
std::optional<std::int64_t> timeOfDay(std::string_view text, std::size_t& at) {
    std::optional<int> hour = digits(text, at, 2), minute = digits(text, at, 2), second = digits(text, at, 2);
    if (!hour || !minute || !second || *hour > 23 || *minute > 59 || *second > 59) return std::nullopt;
    int hundredths = 0;
    if (at < text.size() && text[at] == ',') {
        ++at;
        std::optional<int> fraction = digits(text, at, 2);
        if (!fraction) return std::nullopt;
        hundredths = *fraction;
    }
    return ((*hour * 60 + *minute) * 60 + *second) * std::int64_t{1000} + hundredths * 10;
}

struct ZonedTime {
    std::int64_t ms;  // into the day
    int zoneMinutes;  // east of UTC
};

// "HHMMSS[,hh]" and its zone, from `at` to the end of the text.
std::optional<ZonedTime> zonedTime(std::string_view text, std::size_t at) {
    std::optional<std::int64_t> time = timeOfDay(text, at);
    std::optional<int> zone = time ? zoneMinutes(text, at) : std::nullopt;
    if (!zone) return std::nullopt;
    return ZonedTime{*time, *zone};
}

}  // namespace

std::optional<notes::DateTime> parseDateTime(std::string_view text) {
    if (text.starts_with('T')) {
        // Without a date a zone names no moment: the time stays as written.
        std::optional<ZonedTime> time = zonedTime(text, 1);
        if (!time) return std::nullopt;
        return notes::DateTime{time->ms, true, false};
    }
    std::size_t at = 0;
    std::optional<std::chrono::sys_days> day = date(text, at);
    if (!day) return std::nullopt;
    std::int64_t dayMs = std::chrono::duration_cast<std::chrono::milliseconds>(day->time_since_epoch()).count();
    if (at == text.size()) return notes::DateTime{dayMs, false};
    std::optional<ZonedTime> time = text[at] == 'T' ? zonedTime(text, at + 1) : std::nullopt;
    if (!time) return std::nullopt;
    return notes::DateTime{dayMs + time->ms - std::int64_t{time->zoneMinutes} * 60000, true};
}

std::optional<double> parseNumber(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<notes::store::AccessLevel> parseAccessLevel(std::string_view level) {
    static constexpr std::array<std::string_view, 7> kLevels = {"noaccess", "depositor", "reader", "author",
                                                                "editor",   "designer",  "manager"};
    for (std::size_t i = 0; i < kLevels.size(); ++i)
        if (level == kLevels[i]) return static_cast<notes::store::AccessLevel>(i);
    return std::nullopt;
}

}  // namespace velloran::tools::dxl
