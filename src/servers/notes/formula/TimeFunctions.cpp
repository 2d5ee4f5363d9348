// The date-time functions. Calendar fields read and make moments in the
// evaluation's zone (see Calendar.h); @Now reads the context's clock.
#include "formula/Arguments.h"
#include "formula/Calendar.h"
#include "formula/FunctionFamilies.h"
#include "formula/Ranges.h"

#include <array>
#include <chrono>

namespace velloran::notes::formula {

namespace {

// Adjustments and fields beyond this are refused before any arithmetic.
constexpr int kLargestAdjustment = 2'000'000'000;

std::vector<DateTime> moments(Evaluator& ev, const Node& call, std::size_t index) {
    std::vector<DateTime> out;
    for (const Value& value : argument(ev, call, index)) {
        auto* moment = std::get_if<DateTime>(&value);
        if (!moment) fail(call.children[index].position, call.text + " needs date-times");
        out.push_back(*moment);
    }
    return out;
}

CalendarFields fieldsOf(Evaluator& ev, const Node& call, const DateTime& moment) {
    return calendarFields(moment, ev.context().dateTextZone(), call.position, call.text);
}

DateTime momentFrom(Evaluator& ev, const Node& call, const CalendarFields& fields, bool hasTime) {
    return momentOf(fields, hasTime, ev.context().dateTextZone(), call.position, call.text);
}

// One calendar field of each date-time of the first argument.
template <std::int64_t CalendarFields::*Field>
ValueList field(Evaluator& ev, const Node& call) {
    ValueList out;
    for (const DateTime& moment : moments(ev, call, 0))
        out.emplace_back(std::in_place_type<double>, static_cast<double>(fieldsOf(ev, call, moment).*Field));
    return out;
}

ValueList weekday(Evaluator& ev, const Node& call) {
    ValueList out;
    for (const DateTime& moment : moments(ev, call, 0))
        out.emplace_back(std::in_place_type<double>, static_cast<double>(weekdayOf(fieldsOf(ev, call, moment))));
    return out;
}

ValueList now(Evaluator& ev, const Node& call) {
    return {calendarMoment(DateTime{ev.context().now(), true}, call.position, call.text)};
}

ValueList today(Evaluator& ev, const Node& call) {
    return {momentFrom(ev, call, fieldsOf(ev, call, DateTime{ev.context().now(), true}), false)};
}

// Argument `index` as a whole number from low to high, named `what`.
std::int64_t wholeArgument(Evaluator& ev, const Node& call, std::size_t index, int low, int high, const char* what) {
    return wholeNumberIn(numberArgument(ev, call, index), low, high, call.children[index].position,
                         call.text + ": the " + what);
}

// Year, month and day from arguments `first` on; the date must exist.
CalendarFields dateFields(Evaluator& ev, const Node& call, std::size_t first) {
    CalendarFields f;
    f.year = wholeArgument(ev, call, first, 1, 9999, "year");
    f.month = wholeArgument(ev, call, first + 1, 1, 12, "month");
    f.day = wholeArgument(ev, call, first + 2, 1, 31, "day");
    using namespace std::chrono;
    if (!year_month_day{year{static_cast<int>(f.year)}, month{static_cast<unsigned>(f.month)}, day{static_cast<unsigned>(f.day)}}.ok())
        fail(call.position, call.text + " needs a valid year; month; day");
    return f;
}

void readTimeFields(Evaluator& ev, const Node& call, std::size_t first, CalendarFields& f) {
    f.hour = wholeArgument(ev, call, first, 0, 23, "hour");
    f.minute = wholeArgument(ev, call, first + 1, 0, 59, "minute");
    f.second = wholeArgument(ev, call, first + 2, 0, 59, "second");
}

// @Date(moment), @Date(year; month; day), @Date(year; month; day; hour;
// minute; second): a date without time.
ValueList makeDate(Evaluator& ev, const Node& call) {
    std::size_t count = call.children.size();
    if (count == 1) {
        ValueList out;
        for (const DateTime& moment : moments(ev, call, 0)) out.emplace_back(momentFrom(ev, call, fieldsOf(ev, call, moment), false));
        return out;
    }
    if (count != 3 && count != 6) fail(call.position, "@Date needs one date-time, or year; month; day [; hour; minute; second]");
    return {momentFrom(ev, call, dateFields(ev, call, 0), false)};
}

// @Time(moment) and @Time(hour; minute; second): a time of day, which a
// date-time of this program holds on 1 January 1970. @Time(year; month;
// day; hour; minute; second): that moment.
ValueList makeTime(Evaluator& ev, const Node& call) {
    std::size_t count = call.children.size();
    if (count == 1) {
        ValueList out;
        for (const DateTime& moment : moments(ev, call, 0)) {
            CalendarFields time = fieldsOf(ev, call, moment);
            time.year = 1970, time.month = 1, time.day = 1;
            out.emplace_back(momentFrom(ev, call, time, true));
        }
        return out;
    }
    CalendarFields f;
    if (count == 6) f = dateFields(ev, call, 0);
    else if (count != 3) fail(call.position, "@Time needs one date-time, or hour; minute; second, or six numbers");
    readTimeFields(ev, call, count - 3, f);
    return {momentFrom(ev, call, f, true)};
}

// @Adjust(moments; years; months; days; hours; minutes; seconds): each
// field moved by its amount, carrying over (31 January plus one month is
// 3 March, or 2 March in a leap year).
ValueList adjust(Evaluator& ev, const Node& call) {
    std::vector<DateTime> list = moments(ev, call, 0);
    std::array<std::int64_t, 6> by{};
    for (std::size_t i = 0; i < by.size(); ++i)
        by[i] = wholeArgument(ev, call, i + 1, -kLargestAdjustment, kLargestAdjustment, "adjustment");
    ValueList out;
    for (const DateTime& moment : list) {
        CalendarFields f = fieldsOf(ev, call, moment);
        f.year += by[0], f.month += by[1], f.day += by[2], f.hour += by[3], f.minute += by[4], f.second += by[5];
        out.emplace_back(momentFrom(ev, call, f, moment.hasTime));
    }
    return out;
}

constexpr auto kTimeFunctions = std::to_array<FunctionSignature>({
    {"@now", 0, 0, now},
    {"@today", 0, 0, today},
    {"@date", 1, 6, makeDate},
    {"@time", 1, 6, makeTime},
    {"@adjust", 7, 7, adjust},
    {"@year", 1, 1, field<&CalendarFields::year>},
    {"@month", 1, 1, field<&CalendarFields::month>},
    {"@day", 1, 1, field<&CalendarFields::day>},
    {"@hour", 1, 1, field<&CalendarFields::hour>},
    {"@minute", 1, 1, field<&CalendarFields::minute>},
    {"@second", 1, 1, field<&CalendarFields::second>},
    {"@weekday", 1, 1, weekday},
});

}  // namespace

std::span<const FunctionSignature> timeFunctions() { return kTimeFunctions; }

}  // namespace velloran::notes::formula
