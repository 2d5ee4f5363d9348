#include "formula/Ranges.h"

#include "formula/Syntax.h"
#include "values/ValueText.h"

#include <cmath>

namespace velloran::notes::formula {

namespace {

using namespace std::chrono;

constexpr std::int64_t kMsPerDay = 86'400'000;
constexpr std::int64_t kFirstMs = sys_days{year{1} / January / 1}.time_since_epoch().count() * kMsPerDay;
constexpr std::int64_t kEndMs = sys_days{year{10000} / January / 1}.time_since_epoch().count() * kMsPerDay;

bool inCalendar(std::int64_t ms) { return ms >= kFirstMs && ms < kEndMs; }

[[noreturn]] void beyondCalendar(std::size_t position, const std::string& who) {
    fail(position, who + " goes beyond the years 1 to 9999");
}

void requireNumber(double value, std::size_t position, const std::string& what) {
    if (std::isnan(value)) fail(position, what + " NaN is not a number");
}

}  // namespace

std::size_t clampedCount(double count, std::size_t available, std::size_t position, const std::string& who) {
    requireNumber(count, position, who + ": the count");
    if (count <= 0) return 0;
    if (count >= static_cast<double>(available)) return available;
    return static_cast<std::size_t>(count);
}

int wholeNumberIn(double value, int low, int high, std::size_t position, const std::string& what) {
    requireNumber(value, position, what);
    double whole = std::trunc(value);
    if (whole < low || whole > high)
        fail(position, what + " " + platform::numberText(value) + " is out of range (" + std::to_string(low) + " to " +
                           std::to_string(high) + ")");
    return static_cast<int>(whole);
}

const DateTime& calendarMoment(const DateTime& moment, std::size_t position, const std::string& who) {
    if (!inCalendar(moment.msecsSinceEpoch))
        fail(position, who + ": the date-time " + std::to_string(moment.msecsSinceEpoch) +
                           " ms after 1970 lies beyond the years 1 to 9999");
    return moment;
}

sys_days dayOf(const DateTime& moment, std::size_t position, const std::string& who) {
    std::int64_t ms = calendarMoment(moment, position, who).msecsSinceEpoch;
    return floor<days>(sys_time<milliseconds>(milliseconds(ms)));
}

DateTime shiftedBy(const DateTime& moment, double seconds, std::size_t position) {
    requireNumber(seconds, position, "date-time arithmetic: the number of seconds");
    if (!inCalendar(moment.msecsSinceEpoch)) beyondCalendar(position, "date-time arithmetic");
    // Truncated to whole milliseconds; anything beyond the calendar's span
    // cannot land inside it, so the conversion below is always in range.
    double shift = std::trunc(seconds * 1000);
    if (std::fabs(shift) > static_cast<double>(kEndMs - kFirstMs)) beyondCalendar(position, "date-time arithmetic");
    std::int64_t ms = moment.msecsSinceEpoch + static_cast<std::int64_t>(shift);
    if (!inCalendar(ms)) beyondCalendar(position, "date-time arithmetic");
    return {ms, moment.hasTime};
}

double secondsBetween(const DateTime& later, const DateTime& earlier, std::size_t position) {
    if (!inCalendar(later.msecsSinceEpoch) || !inCalendar(earlier.msecsSinceEpoch))
        beyondCalendar(position, "date-time arithmetic");
    return static_cast<double>(later.msecsSinceEpoch - earlier.msecsSinceEpoch) / 1000.0;
}

}  // namespace velloran::notes::formula
