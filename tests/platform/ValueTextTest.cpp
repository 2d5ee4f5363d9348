// The one text form of numbers and moments.
#include "ScopedTimeZone.h"
#include "values/ValueText.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace velloran::platform {
namespace {

using testing::ScopedTimeZone;

TEST(NumberText, NumbersFromOneHundredThousandthUpToTenToTheFifteenAreWrittenOut) {
    EXPECT_EQ(numberText(12.0), "12");
    EXPECT_EQ(numberText(100000.0), "100000");
    EXPECT_EQ(numberText(1000000.0), "1000000");
    EXPECT_EQ(numberText(1234.5), "1234.5");
    EXPECT_EQ(numberText(0.0001), "0.0001");
    EXPECT_EQ(numberText(0.00001), "0.00001");
    EXPECT_EQ(numberText(-0.0001), "-0.0001");
    EXPECT_EQ(numberText(-1234.5), "-1234.5");
    EXPECT_EQ(numberText(123456789012345.0), "123456789012345");
    EXPECT_EQ(numberText(999999999999999.0), "999999999999999");
}

TEST(NumberText, NumbersOutsideThatRangeTakeTheExponentForm) {
    EXPECT_EQ(numberText(1e15), "1e+15");
    EXPECT_EQ(numberText(-2.5e20), "-2.5e+20");
    EXPECT_EQ(numberText(1e100), "1e+100");
    EXPECT_EQ(numberText(1.5e-6), "1.5e-06");
    EXPECT_EQ(numberText(-9.9999999999999e-6), "-9.9999999999999e-06");
    EXPECT_EQ(numberText(std::numeric_limits<double>::max()), "1.79769313486232e+308");
    EXPECT_EQ(numberText(std::numeric_limits<double>::denorm_min()), "4.94065645841247e-324");
}

TEST(NumberText, RoundsToFifteenDigitsAndChoosesTheFormAfterRounding) {
    EXPECT_EQ(numberText(0.1 + 0.2), "0.3");
    EXPECT_EQ(numberText(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(numberText(2.0 / 3), "0.666666666666667");
    EXPECT_EQ(numberText(123456789.123456789), "123456789.123457");
    EXPECT_EQ(numberText(-123456789012345.6), "-123456789012346");
    EXPECT_EQ(numberText(999999999999999.9), "1e+15");
    EXPECT_EQ(numberText(9.999999999999999e-6), "0.00001");
}

TEST(NumberText, ZeroAndTheValuesThatAreNotNumbers) {
    EXPECT_EQ(numberText(0.0), "0");
    EXPECT_EQ(numberText(-0.0), "0");
    EXPECT_EQ(numberText(std::numeric_limits<double>::quiet_NaN()), "NaN");
    EXPECT_EQ(numberText(std::numeric_limits<double>::infinity()), "Infinity");
    EXPECT_EQ(numberText(-std::numeric_limits<double>::infinity()), "-Infinity");
}

constexpr std::int64_t kMoment = 1'796'574'605'000;  // 2026-12-06 16:30:05 UTC
constexpr std::int64_t kDate = 1'796'515'200'000;    // 2026-12-06, midnight UTC
constexpr std::int64_t kYearOne = -62'135'596'800'000;
constexpr std::int64_t kYear10000 = 253'402'300'800'000;

TEST(DateTimeText, DateTimesAreInTheLocalTimeOfTZ) {
    {
        ScopedTimeZone zone("Asia/Shanghai");
        EXPECT_EQ(dateTimeText(kMoment, true), "2026-12-07 00:30:05");
        EXPECT_EQ(dateTimeText(-1, true), "1970-01-01 07:59:59");
    }
    {
        ScopedTimeZone zone("UTC");
        EXPECT_EQ(dateTimeText(kMoment, true), "2026-12-06 16:30:05");
        EXPECT_EQ(dateTimeText(kMoment + 999, true), "2026-12-06 16:30:05");
        EXPECT_EQ(dateTimeText(-1, true), "1969-12-31 23:59:59");
    }
    ScopedTimeZone zone("America/New_York");
    EXPECT_EQ(dateTimeText(kMoment, true), "2026-12-06 11:30:05");
    EXPECT_EQ(dateTimeText(kMoment - 180LL * 86'400'000, true), "2026-06-09 12:30:05");  // summer time
}

TEST(DateTimeText, UtcZoneAndDatesWithoutTimeIgnoreTZ) {
    ScopedTimeZone zone("America/New_York");
    EXPECT_EQ(dateTimeText(kMoment, true, TimeZone::Utc), "2026-12-06 16:30:05");
    EXPECT_EQ(dateTimeText(kDate, false), "2026-12-06");
    EXPECT_EQ(dateTimeText(kDate, false, TimeZone::Utc), "2026-12-06");
    EXPECT_EQ(dateTimeText(-86'400'000, false), "1969-12-31");
}

TEST(DateTimeText, TimesWithoutADateShowTheirTimeOfDayInNoZone) {
    ScopedTimeZone zone("Asia/Shanghai");
    EXPECT_EQ(timeOfDayText(12 * 3'600'000), "12:00:00");
    EXPECT_EQ(timeOfDayText(86'399'999), "23:59:59");
    EXPECT_EQ(timeOfDayText(86'401'000), "00:00:01");
    EXPECT_EQ(timeOfDayText(-1), "23:59:59");
    EXPECT_EQ(timeOfDayText(std::numeric_limits<std::int64_t>::min()), "16:47:04");
    EXPECT_EQ(timeOfDayText(std::numeric_limits<std::int64_t>::max()), "07:12:55");
}

TEST(DateTimeText, MomentsOutsideTheYearsOneTo9999ShowTheirMilliseconds) {
    ScopedTimeZone zone("Asia/Shanghai");
    EXPECT_EQ(dateTimeText(kYearOne, false), "0001-01-01");
    EXPECT_EQ(dateTimeText(kYearOne, true, TimeZone::Utc), "0001-01-01 00:00:00");
    EXPECT_EQ(dateTimeText(kYearOne - 1, false), "-62135596800001");
    EXPECT_EQ(dateTimeText(kYear10000 - 1, true, TimeZone::Utc), "9999-12-31 23:59:59");
    EXPECT_EQ(dateTimeText(kYear10000, false), "253402300800000");
    // 9999-12-31 20:00 UTC is already the year 10000 in Shanghai.
    EXPECT_EQ(dateTimeText(kYear10000 - 4 * 3'600'000, true), "253402286400000");
    EXPECT_EQ(dateTimeText(std::numeric_limits<std::int64_t>::max(), true), "9.22337203685478e+18");
    EXPECT_EQ(dateTimeText(std::numeric_limits<std::int64_t>::min(), false), "-9.22337203685478e+18");
}

// A typed date cell shows the moment the text shows, to the second.
TEST(SpreadsheetSerial, CountsDaysFrom1899_12_30InTheTextsZoneFrom1900_03_01On) {
    ScopedTimeZone zone("Asia/Shanghai");
    EXPECT_EQ(spreadsheetSerial(kDate, false), 46362.0);
    EXPECT_EQ(spreadsheetSerial(kMoment + 999, true), 46363.0 + 1805.0 / 86'400) << "2026-12-07 00:30:05 local";
    EXPECT_EQ(spreadsheetSerial(kMoment, true, TimeZone::Utc), 46362.0 + 59'405.0 / 86'400);
    constexpr std::int64_t kMarch1900 = -2'203'891'200'000;
    EXPECT_EQ(spreadsheetSerial(kMarch1900, false), 61.0);
    EXPECT_EQ(spreadsheetSerial(kMarch1900 - 1, true, TimeZone::Utc), std::nullopt) << "1900-02-28 23:59:59";
    EXPECT_EQ(spreadsheetSerial(kYear10000, false), std::nullopt);
}

}  // namespace
}  // namespace velloran::platform
