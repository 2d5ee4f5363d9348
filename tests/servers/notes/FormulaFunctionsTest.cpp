// The formula language's formatted text, conversions and error values,
// date-times, document functions, text and list functions and permuted
// operators.
#include "FormulaRun.h"
#include "ScopedTimeZone.h"
#include "formula/Evaluator.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

namespace velloran::notes::formula {
namespace {

using ::testing::HasSubstr;

// 2024-01-31 13:45:30 UTC, a Wednesday.
constexpr std::int64_t kNow = 1'706'708'730'000;
constexpr std::int64_t kDayMs = 86'400'000;

// A document with a clock stopped at kNow, read in UTC.
class ClockedDocument : public NoDocument {
public:
    std::optional<ValueList> item(const std::string& name) override {
        auto it = items.find(name);
        if (it == items.end()) return std::nullopt;
        return it->second;
    }
    platform::TimeZone dateTextZone() const override { return platform::TimeZone::Utc; }
    std::int64_t now() const override { return kNow; }

    std::map<std::string, ValueList> items{{"From", {std::string("CN=Ann Lee/O=Acme")}},
                                           {"Form", {std::string("Memo")}},
                                           {"Moment", {DateTime{kNow, true}}},
                                           {"Clock", {DateTime{kNow % kDayMs, true, false}}}};
};

// The same document read in the local zone.
class LocalClockedDocument : public ClockedDocument {
public:
    platform::TimeZone dateTextZone() const override { return platform::TimeZone::Local; }
};

ValueList run(const std::string& source) { return testing::run<ClockedDocument>(source); }
std::string errorOf(const std::string& source) { return testing::errorOf<ClockedDocument>(source); }

ValueList texts(std::initializer_list<const char*> values) {
    ValueList out;
    for (const char* value : values) out.emplace_back(std::string(value));
    return out;
}

ValueList date(std::int64_t ms, bool hasTime = false) { return {DateTime{ms, hasTime}}; }

TEST(FormulaFunctionsTest, TextFormatsNumbers) {
    EXPECT_EQ(run("@Text(3.14159; \"F2\")"), texts({"3.14"}));
    EXPECT_EQ(run("@Text(1234567.891; \"F,1\")"), texts({"1,234,567.9"}));
    EXPECT_EQ(run("@Text(1234.6; \"C,0\")"), texts({"¥1,235"}));
    EXPECT_EQ(run("@Text(-1234.5; \"C()\")"), texts({"(¥1,234.50)"}));
    EXPECT_EQ(run("@Text(0.125; \"%1\") : @Text(0.5; \"P\")"), texts({"12.5%", "50%"}));
    EXPECT_EQ(run("@Text(12345; \"S2\")"), texts({"1.23E+04"}));
    EXPECT_EQ(run("@Text(2.5 : 100; \"G\")"), texts({"2.5", "100"}));
    EXPECT_EQ(run("@Text(-0.001; \"F2\")"), texts({"0.00"}));
    EXPECT_EQ(run("@Text(\"words\"; \"F2\")"), texts({"words"}));
    EXPECT_THAT(errorOf("@Text(1; \"Q\")"), HasSubstr("the code Q is not a number format"));
    EXPECT_THAT(errorOf("@Text(1; \"#\")"), HasSubstr("unknown code"));
}

TEST(FormulaFunctionsTest, TextFormatsDateTimesInParts) {
    EXPECT_EQ(run("@Text(Moment; \"D0\")"), texts({"2024-01-31"}));
    EXPECT_EQ(run("@Text(Moment; \"D2\") : @Text(Moment; \"D3\")"), texts({"01-31", "2024-01"}));
    EXPECT_EQ(run("@Text(Moment; \"T1\") : @Text(Moment; \"S1\")"), texts({"13:45", "13:45:30"}));
    EXPECT_EQ(run("@Text(Moment; \"D0T1\") : @Text(Moment; \"S2\")"), texts({"2024-01-31 13:45", "2024-01-31 13:45:30"}));
    EXPECT_EQ(run("@Text(@Date(Moment); \"\") : @Text(Moment)"), texts({"2024-01-31", "2024-01-31 13:45:30"}));
    EXPECT_THAT(errorOf("@Text(Moment; \"F2\")"), HasSubstr("not a date-time format"));
}

// A time without a date is shown and taken apart as written, in no zone.
TEST(FormulaFunctionsTest, TimesWithoutADateAreTheirTimeOfDayInAnyZone) {
    velloran::testing::ScopedTimeZone zone("Asia/Shanghai");
    EXPECT_EQ(testing::run<LocalClockedDocument>("@Text(Clock) : @Text(Clock; \"\") : @Text(Clock; \"T1\")"),
              texts({"13:45:30", "13:45:30", "13:45"}));
    EXPECT_EQ(testing::run<LocalClockedDocument>("@Hour(Clock) : @Minute(Clock)"), (ValueList{13.0, 45.0}));
    EXPECT_EQ(testing::run<LocalClockedDocument>("@Hour(Moment)"), ValueList{21.0});
}

TEST(FormulaFunctionsTest, UnreadableNumbersAndDatesGiveTheErrorValue) {
    EXPECT_EQ(run("@TextToNumber(\" -1.5e3 \" : \"+2\")"), (ValueList{-1500.0, 2.0}));
    EXPECT_THAT(errorOf("@TextToNumber(\"12abc\")"), HasSubstr("cannot read '12abc' as a number"));
    for (std::string bad : {"abc", "", "inf", "nan", "0x10", "1,5", "1e999"}) {
        bad.insert(0, "@IsError(@TextToNumber(\"").append("\"))");
        EXPECT_EQ(run(bad), ValueList{1.0}) << bad;
    }
    EXPECT_EQ(run("@ToNumber(\"2.5\" : 3)"), (ValueList{2.5, 3.0}));
    EXPECT_EQ(run("@IsError(@ToNumber(Moment)) : @IsError(@ToNumber(\"7\"))"), (ValueList{1.0, 0.0}));
    EXPECT_EQ(run("@TextToTime(\"2024-02-01\")"), date(1'706'745'600'000));
    EXPECT_EQ(run("@TextToTime(\"later\")"), texts({""}));
    EXPECT_EQ(run("@ToTime(Moment) = Moment"), ValueList{1.0});
    EXPECT_EQ(run("@IsError(@ToTime(\"later\")) & @IsError(@ToTime(5))"), ValueList{1.0});
}

TEST(FormulaFunctionsTest, ErrorValuesTravelAndStayInVariables) {
    EXPECT_EQ(run("@IsError(@TextToNumber(\"x\") + 1)"), ValueList{1.0});
    EXPECT_EQ(run("x := @Error; y := 2; @IsError(x) : @IsError(y)"), (ValueList{1.0, 0.0}));
    EXPECT_EQ(run("@Do(n := @TextToNumber(\"?\"); @If(@IsError(n); 0; n))"), ValueList{0.0});
    EXPECT_THAT(errorOf("x := @Error; x + 1"), HasSubstr("@Error"));
    // Faults other than error values are not hidden.
    EXPECT_THAT(errorOf("@IsError(1 + \"a\")"), HasSubstr("cannot combine"));
}

TEST(FormulaFunctionsTest, ClockAndCalendarFields) {
    EXPECT_EQ(run("@Now"), date(kNow, true));
    EXPECT_EQ(run("@Today"), date(kNow - kNow % kDayMs));
    EXPECT_EQ(run("@Year(Moment) : @Month(Moment) : @Day(Moment)"), (ValueList{2024.0, 1.0, 31.0}));
    EXPECT_EQ(run("@Hour(Moment) : @Minute(Moment) : @Second(Moment)"), (ValueList{13.0, 45.0, 30.0}));
    EXPECT_EQ(run("@Weekday(Moment : @Adjust(Moment; 0; 0; 3; 0; 0; 0))"), (ValueList{4.0, 7.0}));
    EXPECT_EQ(run("@Date(Moment)"), date(kNow - kNow % kDayMs));
    EXPECT_EQ(run("@Date(2024; 1; 31; 9; 8; 7) = @Date(2024; 1; 31)"), ValueList{1.0});
    EXPECT_EQ(run("@Time(2024; 1; 31; 13; 45; 30)"), date(kNow, true));
    EXPECT_EQ(run("@Time(13; 45; 30) = @Time(Moment)"), ValueList{1.0});
    EXPECT_EQ(run("@Time(1; 2; 3)"), date(3'723'000, true));
    EXPECT_THAT(errorOf("@Time(24; 0; 0)"), HasSubstr("hour 24 is out of range"));
    EXPECT_THAT(errorOf("@Date(2023; 2; 29)"), HasSubstr("valid year; month; day"));
}

TEST(FormulaFunctionsTest, AdjustCarriesOverEachField) {
    EXPECT_EQ(run("@Text(@Adjust(Moment; 0; 1; 0; 0; 0; 0))"), texts({"2024-03-02 13:45:30"}));
    EXPECT_EQ(run("@Text(@Adjust(Moment; -1; 0; 0; 11; 0; 0))"), texts({"2023-02-01 00:45:30"}));
    EXPECT_EQ(run("@Text(@Adjust(Moment; 0; 0; 0; 0; -46; -31))"), texts({"2024-01-31 12:58:59"}));
    EXPECT_EQ(run("@Adjust(@Date(2024; 1; 1); 0; 0; 1; 5; 0; 0)"), date(1'704'153'600'000));
    EXPECT_THAT(errorOf("@Adjust(Moment; 8000; 0; 0; 0; 0; 0)"), HasSubstr("beyond the years 1 to 9999"));
    EXPECT_THAT(errorOf("@Adjust(Moment; 0; 0; 0; 0; 0; 1e12)"), HasSubstr("out of range"));
    EXPECT_THAT(errorOf("@Adjust(Moment; 0; 0; 2e9; 2e9; 2e9; 2e9)"), HasSubstr("beyond the years 1 to 9999"));
}

TEST(FormulaFunctionsTest, DocumentFunctionsGiveWhatTheStoreHolds) {
    EXPECT_EQ(run("@UserName : @DbName"), texts({"", "", ""}));
    EXPECT_EQ(run("@Author"), texts({"CN=Ann Lee/O=Acme"}));
    EXPECT_EQ(run("@DocLength"), ValueList{0.0});
    EXPECT_EQ(run("@DocNumber + @InheritedDocumentUniqueID + @WhichFolders"), texts({""}));
    EXPECT_EQ(run("@IsResponseDoc : @AllChildren : @AllDescendants"), (ValueList{0.0, 0.0, 0.0}));
    EXPECT_EQ(run("SELECT Form = \"Memo\" | @AllDescendants"), ValueList{1.0});
    EXPECT_NE(run("@Version"), texts({""}));
}

TEST(FormulaFunctionsTest, MiddleReplaceAndSelect) {
    EXPECT_EQ(run("@Middle(\"North Carolina\"; 4; 3)"), texts({"h C"}));
    EXPECT_EQ(run("@Middle(\"North Carolina\"; 4; -3)"), texts({"ort"}));
    EXPECT_EQ(run("@Middle(\"你好世界和平\"; \"好\"; 2)"), texts({"世界"}));
    EXPECT_EQ(run("@Middle(\"a[key]b\"; \"[\"; \"]\") : @Middle(\"a[key\"; \"[\"; \"]\")"), texts({"key", ""}));
    EXPECT_EQ(run("@Middle(\"abc\"; 99; 2) : @Middle(\"abc\"; 1; -99)"), texts({"", "a"}));
    EXPECT_EQ(run("@Replace(\"a\" : \"b\" : \"c\" : \"a\"; \"a\" : \"c\"; \"x\")"), texts({"x", "b", "", "x"}));
    EXPECT_EQ(run("@Select(2; \"one\"; \"two\"; \"three\") : @Select(9; \"one\"; \"last\")"), texts({"two", "last"}));
    EXPECT_EQ(run("@Select(1; \"only\"; @Error)"), texts({"only"}));
    EXPECT_THAT(errorOf("@Select(0; 1; 2)"), HasSubstr("choice of 1 or more"));
}

TEST(FormulaFunctionsTest, MatchesAndLikePatterns) {
    EXPECT_EQ(run("@Matches(\"Report-2024.pdf\"; \"Report-{0-9}{0-9}+{0-9}.*\")"), ValueList{1.0});
    EXPECT_EQ(run("@Matches(\"abc\"; \"a?c\") : @Matches(\"abbc\"; \"a?c\")"), (ValueList{1.0, 0.0}));
    EXPECT_EQ(run("@Matches(\"x\" : \"B7\"; \"{A-Z}{!a-z}\")"), ValueList{1.0});
    EXPECT_EQ(run("@Matches(\"a*b\"; \"a\\\\*b\") : @Matches(\"axb\"; \"a\\\\*b\")"), (ValueList{1.0, 0.0}));
    EXPECT_EQ(run("@Matches(\"你好吗\"; \"你?吗\")"), ValueList{1.0});
    EXPECT_EQ(run("@Like(\"Order 15\"; \"Order __\") : @Like(\"Order 5\"; \"%er _\")"), (ValueList{1.0, 1.0}));
    EXPECT_EQ(run("@Like(\"100%\"; \"100!%\"; \"!\") : @Like(\"1000\"; \"100!%\"; \"!\")"), (ValueList{1.0, 0.0}));
    EXPECT_THAT(errorOf("@Matches(\"a\"; \"{a\")"), HasSubstr("not closed"));
}

TEST(FormulaFunctionsTest, SortOrdersByKindThenValue) {
    EXPECT_EQ(run("@Sort(\"b\" : \"C\" : \"a\")"), texts({"C", "a", "b"}));
    EXPECT_EQ(run("@Sort(\"b\" : \"C\" : \"a\"; [CaseInsensitive])"), texts({"a", "b", "C"}));
    EXPECT_EQ(run("@Sort(3 : 1 : 2; [Descending])"), (ValueList{3.0, 2.0, 1.0}));
    EXPECT_EQ(run("@Sort(\"t\" : 2 : Moment : 1)"), (ValueList{1.0, 2.0, DateTime{kNow, true}, std::string("t")}));
    EXPECT_THAT(errorOf("@Sort(1; [CN])"), HasSubstr("does not take the keyword [cn]"));
}

TEST(FormulaFunctionsTest, PermutedOperatorsPairEveryValueWithEvery) {
    EXPECT_EQ(run("(1 : 2) *+ (10 : 20)"), (ValueList{11.0, 21.0, 12.0, 22.0}));
    EXPECT_EQ(run("\"a\" : \"b\" *+ \"1\""), texts({"a1", "b1"}));
    EXPECT_EQ(run("(1 : 2) = (2 : 1)"), ValueList{0.0});
    EXPECT_EQ(run("(1 : 2) *= (3 : 1)"), ValueList{1.0});
    EXPECT_EQ(run("(1 : 2) *> (5 : 6)"), ValueList{0.0});
    EXPECT_EQ(run("(1 : 9) *>= (5 : 6)"), ValueList{1.0});
    EXPECT_EQ(run("(\"a\" : \"b\") *<> \"a\""), ValueList{1.0});
    EXPECT_THAT(errorOf("1 *= \"a\""), HasSubstr("operator *= cannot combine number with text"));
}

TEST(FormulaFunctionsTest, ListsBindTighterThanSigns) {
    EXPECT_EQ(run("-2 : 3"), (ValueList{-2.0, -3.0}));
    EXPECT_EQ(run("(1 : 2 : 3 : 4) + (1 : 2 : -3 : 4)"), (ValueList{2.0, 4.0, 0.0, 0.0}));
    EXPECT_EQ(run("1 : 2 : (-3) : 4"), (ValueList{1.0, 2.0, -3.0, 4.0}));
    EXPECT_EQ(run("2 * -3"), ValueList{-6.0});
}

TEST(FormulaFunctionsTest, AssignmentsInsideDoAndIf) {
    EXPECT_EQ(run("@Do(x := 2; y := x * 3; y + 1)"), ValueList{7.0});
    EXPECT_EQ(run("@If(1; v := \"yes\"; v := \"no\"); v"), texts({"yes"}));
    EXPECT_EQ(run("x := 1; x := x + 1; x"), ValueList{2.0});
    EXPECT_THAT(errorOf("@Trim(x := \"a\")"), HasSubstr("@trim does not take an assignment"));
}

}  // namespace
}  // namespace velloran::notes::formula
