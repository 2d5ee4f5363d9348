// Formulas come from database files: out-of-range numbers and dates, deep
// nesting, long chains and runaway sizes end in a clear error or a defined
// result, never in undefined behaviour, a crashed stack or gigabytes.
#include "FormulaRun.h"
#include "formula/Evaluator.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <vector>

namespace velloran::notes::formula {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;

constexpr std::int64_t kLatest = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kEarliest = std::numeric_limits<std::int64_t>::min();

class Items : public NoDocument {
public:
    std::optional<ValueList> item(const std::string& name) override {
        auto it = items.find(name);
        if (it == items.end()) return std::nullopt;
        return it->second;
    }
    std::map<std::string, ValueList> items{{"Nan", {std::nan("")}},
                                           {"Tags", {std::string("a"), std::string("b"), std::string("c")}},
                                           {"Latest", {DateTime{kLatest, true}}},
                                           {"Earliest", {DateTime{kEarliest, false}}}};
};

ValueList run(const std::string& source) { return testing::run<Items>(source); }

std::string errorOf(const std::string& source) { return testing::errorOf<Items>(source); }

std::string repeated(const std::string& part, std::size_t times) {
    std::string out;
    for (std::size_t i = 0; i < times; ++i) out += part;
    return out;
}

ValueList text(const std::string& value) { return {value}; }

TEST(FormulaLimitsTest, CountsBeyondTheTextOrListAreClampedAndNaNIsAnError) {
    EXPECT_EQ(run("@Left(\"abc\"; 1e300)"), text("abc"));
    EXPECT_EQ(run("@Right(\"abc\"; 1e300)"), text("abc"));
    EXPECT_EQ(run("@Left(\"abc\"; -1e300)"), text(""));
    EXPECT_EQ(run("@Right(\"你好世界\"; 2.9)"), text("世界"));
    EXPECT_EQ(run("@Left(\"你好世界\"; 3) : @Left(\"a=b=c\"; \"=\") : @Right(\"a=b=c\"; \"=\")"),
              (ValueList{std::string("你好世"), std::string("a"), std::string("b=c")}));
    EXPECT_EQ(run("@Subset(Tags; 1e308)"), run("Tags"));
    EXPECT_EQ(run("@Subset(Tags; -1e308)"), run("Tags"));
    EXPECT_THAT(errorOf("@Left(\"abc\"; Nan)"), AllOf(HasSubstr("@left"), HasSubstr("NaN")));
    EXPECT_THAT(errorOf("@Right(\"abc\"; Nan)"), AllOf(HasSubstr("@right"), HasSubstr("NaN")));
    EXPECT_THAT(errorOf("@Subset(Tags; Nan)"), AllOf(HasSubstr("@subset"), HasSubstr("NaN")));
}

TEST(FormulaLimitsTest, DateArgumentsOutsideTheCalendarAreErrors) {
    EXPECT_THAT(errorOf("@Date(1e12; 1; 1)"), AllOf(HasSubstr("@date"), HasSubstr("year 1000000000000 is out of range")));
    EXPECT_THAT(errorOf("@Date(0; 1; 1)"), HasSubstr("year 0"));
    EXPECT_THAT(errorOf("@Date(2024; -1; 1)"), HasSubstr("month -1"));
    EXPECT_THAT(errorOf("@Date(2024; 1; 1e300)"), HasSubstr("day 1e+300"));
    EXPECT_THAT(errorOf("@Date(2024; Nan; 1)"), HasSubstr("month NaN"));
    EXPECT_EQ(run("@Date(9999; 12; 31) = @Date(9999.9; 12; 31)"), ValueList{1.0});
}

TEST(FormulaLimitsTest, DateArithmeticStaysWithinTheYears1To9999) {
    EXPECT_THAT(errorOf("@Date(2024; 1; 1) + 1e300"), HasSubstr("beyond the years 1 to 9999"));
    EXPECT_THAT(errorOf("@Date(2024; 1; 1) - 1e300"), HasSubstr("beyond the years 1 to 9999"));
    EXPECT_THAT(errorOf("1e300 + @Date(2024; 1; 1)"), HasSubstr("beyond the years 1 to 9999"));
    EXPECT_THAT(errorOf("@Date(2024; 1; 1) + Nan"), HasSubstr("NaN"));
    EXPECT_THAT(errorOf("@Date(9999; 12; 31) + 86400"), HasSubstr("beyond the years 1 to 9999"));
    EXPECT_THAT(errorOf("@Date(1; 1; 1) - 0.001"), HasSubstr("beyond the years 1 to 9999"));
    EXPECT_EQ(run("@Year(@Date(9999; 12; 31) + 86399.999)"), ValueList{9999.0});
    EXPECT_EQ(run("@Date(9999; 12; 31) - @Date(1; 1; 1)"), ValueList{315'537'811'200.0});
}

TEST(FormulaLimitsTest, StoredDatesOutsideTheCalendarAreReportedNotComputed) {
    EXPECT_THAT(errorOf("Latest - @Date(2024; 1; 1)"), HasSubstr("beyond the years 1 to 9999"));
    EXPECT_THAT(errorOf("Latest + 1"), HasSubstr("beyond the years 1 to 9999"));
    EXPECT_THAT(errorOf("Earliest - Latest"), HasSubstr("beyond the years 1 to 9999"));
    EXPECT_THAT(errorOf("@Year(Latest)"), AllOf(HasSubstr("@year"), HasSubstr("beyond the years 1 to 9999")));
    EXPECT_THAT(errorOf("@Day(Earliest)"), HasSubstr("@day"));
    EXPECT_THAT(errorOf("@Date(Latest)"), HasSubstr("@date"));
    EXPECT_EQ(run("@Text(Latest : Earliest)"), (ValueList{std::string("9.22337203685478e+18"),
                                                          std::string("-9.22337203685478e+18")}));
    EXPECT_EQ(run("Latest > Earliest"), ValueList{1.0});
}

TEST(FormulaLimitsTest, NumbersTooLargeToHoldAreRejectedWhereWritten) {
    EXPECT_THAT(errorOf("1 + 1e400"), AllOf(HasSubstr("position 5"), HasSubstr("1e400")));
    EXPECT_EQ(run("1e308 + 0.5e308"), ValueList{1.5e308});
    EXPECT_THAT(errorOf("0x10"), HasSubstr("expected ';'"));
}

TEST(FormulaLimitsTest, NestingDeeperThanTheLimitIsAnErrorWithItsPosition) {
    EXPECT_EQ(run(repeated("(", 256) + "1" + repeated(")", 256)), ValueList{1.0});
    double deepest = 1;  // 85 times a sign, a bracket and a call: 255 levels through every operator level
    for (int i = 0; i < 85; ++i) deepest = -(1 + (deepest == 1 ? 1 : 0));
    EXPECT_EQ(run(repeated("-(1*1+@Sum(@True&", 85) + "1" + repeated("=1))", 85)), ValueList{deepest});
    EXPECT_THAT(errorOf(repeated("(", 6000) + "1" + repeated(")", 6000)),
                AllOf(HasSubstr("position 257"), HasSubstr("256 levels")));
    EXPECT_THAT(errorOf(repeated("@Trim(", 6000) + "\"a\"" + repeated(")", 6000)), HasSubstr("256 levels"));
    EXPECT_THAT(errorOf(repeated("-", 60000) + "1"), HasSubstr("256 levels"));
    EXPECT_THAT(errorOf(repeated("!", 60000) + "1"), HasSubstr("256 levels"));
    EXPECT_THAT(errorOf(repeated("1+(", 6000) + "1" + repeated(")", 6000)), HasSubstr("256 levels"));
}

TEST(FormulaLimitsTest, LongFlatChainsEvaluateWithoutDeepRecursion) {
    EXPECT_EQ(run("1" + repeated("+1", 49'999)), ValueList{50'000.0});
    EXPECT_EQ(run("100000" + repeated("-1", 99'999) + "*1/1"), ValueList{1.0});
    EXPECT_EQ(run("@Elements(1" + repeated(":1", 99'999) + ")"), ValueList{100'000.0});
    EXPECT_EQ(run("@Length(\"\"" + repeated("+\"ab\"", 100'000) + ")"), ValueList{200'000.0});
    EXPECT_EQ(run("@True" + repeated("&@True", 50'000) + "|Missing"), ValueList{1.0});
    EXPECT_EQ(run("@False" + repeated("|@False", 50'000) + "&Missing"), ValueList{0.0});
    EXPECT_EQ(run("1" + repeated("=1", 50'000)), ValueList{1.0});
    EXPECT_EQ(run(repeated("x := 1;", 50'000) + "x"), ValueList{1.0});
}

TEST(FormulaLimitsTest, AMegabyteFormulaParsesAndEvaluates) {
    std::string source = "\"你好\"" + repeated(" + \"世界\"", 100'000);
    EXPECT_EQ(run("@Length(" + source + ")"), ValueList{200'002.0});
}

// Each statement doubles a text or a list; the values would reach gigabytes.
TEST(FormulaLimitsTest, RunawaySizesStopAtTheBudget) {
    const std::string doubling = "a := \"xxxxxxxx\";" + repeated("a := a + a;", 27) + "@Length(a)";
    EXPECT_THAT(errorOf(doubling), HasSubstr("256 MB"));
    const std::string listOf131072 = "l := \"a\";" + repeated("l := l : l;", 17);
    const std::string text8k = "t := \"yyyyyyyy\";" + repeated("t := t + t;", 10);
    EXPECT_THAT(errorOf(listOf131072 + text8k + "@Elements(l + t)"), HasSubstr("256 MB"));
    EXPECT_THAT(errorOf(listOf131072 + text8k + "@Length(@Implode(l; t))"), HasSubstr("256 MB"));
    EXPECT_THAT(errorOf(listOf131072 + text8k + "@Elements(t + l)"), HasSubstr("256 MB"));
    EXPECT_EQ(run(listOf131072 + "@Elements(@Unique(l) : l)"), ValueList{131'073.0});
    const std::string twoListsOf4096 = "a := \"a\"; b := \"b\";" + repeated("a := a : a; b := b : b;", 12);
    EXPECT_THAT(errorOf(twoListsOf4096 + "@Contains(a; b)"), HasSubstr("256 MB"));
    EXPECT_EQ(run(twoListsOf4096 + "@Contains(a; \"\" : \"b\")"), ValueList{1.0});
}

// Pairing every value of one list with every value of another, and matching
// a pattern against a text, cost the product of their sizes.
TEST(FormulaLimitsTest, PermutedOperatorsAndPatternsPayForTheirWork) {
    const std::string twoListsOf4096 = "a := \"a\"; b := \"b\";" + repeated("a := a : a; b := b : b;", 12);
    EXPECT_THAT(errorOf(twoListsOf4096 + "@Elements(a *+ b)"), HasSubstr("256 MB"));
    EXPECT_THAT(errorOf(twoListsOf4096 + "a *= b"), HasSubstr("256 MB"));
    EXPECT_EQ(run(twoListsOf4096 + "@Elements(@Subset(a; 64) *+ @Subset(b; 64))"), ValueList{4096.0});
    const std::string text8k = "t := \"aaaaaaaa\";" + repeated("t := t + t;", 10);
    // A backtracking matcher would take ages here; following every way at
    // once decides it in one pass.
    EXPECT_EQ(run(text8k + "@Matches(t; \"" + repeated("*a", 12) + "b\") | @Like(t; \"" + repeated("%a", 12) + "b\")"),
              ValueList{0.0});
    const std::string text128k = text8k + repeated("t := t + t;", 4);
    EXPECT_THAT(errorOf(text128k + "@Matches(t : t; \"" + repeated("?", 1100) + "\")"), HasSubstr("256 MB"));
}

// What one evaluation spent of its budget, by the budget's own count, and
// the value or error it ended in.
struct Work {
    std::size_t spent;
    std::string error;
    ValueList result;
};

Work workOf(const std::string& source) {
    Items document;
    Evaluator evaluator(document);
    try {
        ValueList result = evaluator.run(parse(source));
        return {evaluator.budget().spent(), "no error", result};
    } catch (const Failure& e) {
        return {evaluator.budget().spent(), velloran::testing::originalText(e), {}};
    }
}

// `name` := a text of 2^doublings copies of `seed`.
std::string doubled(const std::string& name, const std::string& seed, int doublings) {
    return name + " := \"" + seed + "\";" + repeated(name + " := " + name + " + " + name + ";", doublings);
}

// Shapes that make little but read much: each ran for seconds (hours at
// larger sizes) before it paid for what it reads, and now stops at the
// budget; what they work on is made within it.
TEST(FormulaLimitsTest, WorkThatMakesLittleStopsAtTheBudget) {
    struct Shape {
        std::string name, values, work;
    };
    const std::vector<Shape> shapes = {
        {"permuted comparison of long texts", doubled("t", "x", 15) + "l := t;" + repeated("l := l : l;", 8),
         "l *= l + \"y\""},
        {"@ReplaceSubstring with a long near miss", doubled("t", "a", 18) + doubled("p", "a", 14),
         "@ReplaceSubstring(t; p + \"b\"; \"x\")"},
        {"@Matches with a large character set", doubled("t", "b", 15),
         "@Matches(t; \"+{" + repeated("c", 32767) + "b}\")"},
        {"@Sort of a long list", doubled("t", "x", 8) + "l := t;" + repeated("l := l : l;", 16), "@Sort(l)"},
        {"@Text with a long format", "n := 1;" + repeated("n := n : n;", 16), "@Text(n; \"" + repeated("G", 8192) + "\")"},
    };
    for (const Shape& shape : shapes) {
        EXPECT_EQ(workOf(shape.values + "1").error, "no error") << shape.name;
        Work work = workOf(shape.values + shape.work);
        EXPECT_THAT(work.error, HasSubstr("256 MB")) << shape.name;
        EXPECT_LE(work.spent, kMaxWorkBytes) << shape.name;
    }
}

// Searches that a hostile text and separator made quadratic (minutes at
// these sizes) take one pass, and pay only for the values they read.
TEST(FormulaLimitsTest, SearchesOverLongTextsTakeOnePass) {
    const std::string nearMiss = doubled("t", "a", 22) + doubled("p", "a", 16) + "p := p + \"b\";";
    const std::vector<std::pair<std::string, ValueList>> shapes = {
        {"@Elements(@Explode(t; " + repeated("@Char(98) + ", 65535) + "\"b\"))", {1.0}},
        {"@Length(@Word(t; p; 1))", {4194304.0}},
        {"@Length(@Word(t; p; -1)) + @Length(@Word(t; p; 2))", {4194304.0}},
        {"@LeftBack(t; p) + @RightBack(t; p)", {std::string()}},
    };
    for (const auto& [formula, expected] : shapes) {
        Work work = workOf(nearMiss + formula);
        EXPECT_EQ(work.result, expected) << formula;
        EXPECT_LT(work.spent, std::size_t{32} * 4194304) << formula;
    }
    EXPECT_EQ(run("@Word(\"a--b--c\"; \"--\"; 2) : @Word(\"a--b--c\"; \"--\"; -1) : @Word(\"a--b\"; \"--\"; 3)"),
              (ValueList{std::string("b"), std::string("c"), std::string()}));
    EXPECT_EQ(run("@LeftBack(\"a=b=c\"; \"=\") : @RightBack(\"a=b=c\"; \"=\") : @RightBack(\"abc\"; \"\")"),
              (ValueList{std::string("a=b"), std::string("c"), std::string()}));
}

// Numbers are read as written in the formula, whatever the locale; the C
// library's readers also took hexadecimal, "inf" and "nan".
TEST(FormulaLimitsTest, TextToNumberReadsDecimalNumbersOnly) {
    for (const char* text : {"0x10", "nan", "inf", "-infinity", "1e999", "1 2"})
        EXPECT_THAT(errorOf(std::string("@TextToNumber(\"") + text + "\")"), HasSubstr("cannot read")) << text;
    EXPECT_EQ(run("@TextToNumber(\".5\" : \"-0.25e1\")"), (ValueList{0.5, -2.5}));
}

TEST(FormulaLimitsTest, ListSearchesMatchValuesOfTheSameKindOnly) {
    EXPECT_EQ(run("@Unique(1 : \"1\" : 1 : 0 : (-0) : @Date(2024; 1; 1) : @Date(2024; 1; 1))"),
              run("1 : \"1\" : 0 : @Date(2024; 1; 1)"));
    EXPECT_EQ(run("@Elements(@Unique(Nan : Nan : 1 : 1))"), ValueList{3.0});
    EXPECT_EQ(run("@IsMember(\"b\" : \"c\"; Tags)"), ValueList{1.0});
    EXPECT_EQ(run("@IsMember(1; \"1\")"), ValueList{0.0});
    EXPECT_EQ(run("@IsMember(Nan; Nan)"), ValueList{0.0});
    EXPECT_EQ(run("@IsMember(0; -0)"), ValueList{1.0});
}

}  // namespace
}  // namespace velloran::notes::formula
