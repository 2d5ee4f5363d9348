// The formula language: operators on lists, @-functions and errors.
#include "FormulaRun.h"
#include "formula/Evaluator.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

namespace velloran::notes::formula {
namespace {

// A document made of a few items and attachments.
class FakeDocument : public Context {
public:
    std::optional<ValueList> item(const std::string& name) override {
        auto it = items.find(name);
        if (it == items.end()) return std::nullopt;
        return it->second;
    }
    const store::NoteHeader* note() override { return &header; }
    std::vector<store::StoredObject> attachments() override { return files; }

    std::map<std::string, ValueList> items{{"Subject", {std::string("  Hello   World ")}},
                                           {"Tags", {std::string("a"), std::string("b"), std::string("c")}},
                                           {"Amount", {2.5}}};
    store::NoteHeader header{8, "0123456789ABCDEF0123456789ABCDEF", 86'400'000, 86'400'000 * 2};
    std::vector<store::StoredObject> files{{1, "x.doc", 10}, {2, "y.pdf", 20}};
};

ValueList run(const std::string& source) { return testing::run<FakeDocument>(source); }

ValueList texts(std::initializer_list<const char*> values) {
    ValueList out;
    for (const char* value : values) out.emplace_back(std::string(value));
    return out;
}

std::string errorOf(const std::string& source) { return testing::errorOf<FakeDocument>(source); }

TEST(FormulaTest, ArithmeticAndTextFollowPrecedence) {
    EXPECT_EQ(run("1 + 2 * 3"), ValueList{7.0});
    EXPECT_EQ(run("(1 + 2) * 3"), ValueList{9.0});
    EXPECT_EQ(run("-Amount * 2"), ValueList{-5.0});
    EXPECT_EQ(run("\"a\" + {b} + \"\\\"\""), texts({"ab\""}));
}

TEST(FormulaTest, ListsCombinePairByPairRepeatingTheShorterListsLastValue) {
    EXPECT_EQ(run("1 : 2 : 3"), (ValueList{1.0, 2.0, 3.0}));
    EXPECT_EQ(run("Tags + \"-\""), texts({"a-", "b-", "c-"}));
    EXPECT_EQ(run("(1 : 2) + (10 : 20 : 30)"), (ValueList{11.0, 22.0, 32.0}));
    EXPECT_EQ(run("Tags = \"b\""), ValueList{1.0});
    EXPECT_EQ(run("Tags = \"z\""), ValueList{0.0});
}

TEST(FormulaTest, StatementsVariablesAndSelect) {
    EXPECT_EQ(run("x := 2; y := x * 3; y + 1"), ValueList{7.0});
    EXPECT_EQ(run("REM \"comment\"; SELECT Amount > 2"), ValueList{1.0});
    EXPECT_EQ(run("DEFAULT Amount := 9; DEFAULT Other := 4; Amount + Other"), ValueList{6.5});
    FakeDocument document;
    EXPECT_TRUE(Formula("SELECT @All").selects(document));
    EXPECT_FALSE(Formula("SELECT \"text\"").selects(document));
}

TEST(FormulaTest, ConditionsShortCircuitSoMissingItemsCanBeGuarded) {
    EXPECT_EQ(run("@IsAvailable(Missing) & Missing > 1"), ValueList{0.0});
    EXPECT_EQ(run("@IsAvailable(Amount) | Missing > 1"), ValueList{1.0});
    EXPECT_EQ(run("!@IsUnavailable(Amount)"), ValueList{1.0});
    EXPECT_EQ(run("Missing"), texts({""}));
}

TEST(FormulaTest, TextFunctions) {
    EXPECT_EQ(run("@Trim(Subject)"), texts({"Hello World"}));
    EXPECT_EQ(run("@Trim(\"\" : \" x \" : \"\")"), texts({"x"}));
    EXPECT_EQ(run("@UpperCase(Tags)"), texts({"A", "B", "C"}));
    EXPECT_EQ(run("@LowerCase(\"MiXeD\")"), texts({"mixed"}));
    EXPECT_EQ(run("@ProperCase(\"hello world\")"), texts({"Hello World"}));
    EXPECT_EQ(run("@Left(\"你好世界\"; 2)"), texts({"你好"}));
    EXPECT_EQ(run("@Right(\"key=value\"; \"=\")"), texts({"value"}));
    EXPECT_EQ(run("@Length(\"你好\")"), ValueList{2.0});
    EXPECT_EQ(run("@Contains(Tags; \"x\" : \"c\")"), ValueList{1.0});
    EXPECT_EQ(run("@Begins(\"report.pdf\"; \"rep\") & @Ends(\"report.pdf\"; \".pdf\")"), ValueList{1.0});
    EXPECT_EQ(run("@Implode(Tags; \"/\")"), texts({"a/b/c"}));
    EXPECT_EQ(run("@Explode(\"a, b;;c\")"), texts({"a", "b", "c"}));
    EXPECT_EQ(run("@Text(Amount : 3)"), texts({"2.5", "3"}));
    EXPECT_EQ(run("@TextToNumber(\" 42 \")"), ValueList{42.0});
}

TEST(FormulaTest, ListFunctions) {
    EXPECT_EQ(run("@Elements(Tags)"), ValueList{3.0});
    EXPECT_EQ(run("@Elements(Missing)"), ValueList{0.0});
    EXPECT_EQ(run("@Subset(Tags; -2)"), texts({"b", "c"}));
    EXPECT_EQ(run("@Member(\"c\"; Tags)"), ValueList{3.0});
    EXPECT_EQ(run("@IsMember(\"a\" : \"z\"; Tags)"), ValueList{0.0});
    EXPECT_EQ(run("@Unique(\"a\" : \"b\" : \"a\")"), texts({"a", "b"}));
    EXPECT_EQ(run("@Sum(1 : 2; 3)"), ValueList{6.0});
    EXPECT_EQ(run("@If(Amount > 3; \"big\"; Amount > 2; \"medium\"; \"small\")"), texts({"medium"}));
}

TEST(FormulaTest, DocumentFunctions) {
    EXPECT_EQ(run("@AttachmentNames"), texts({"x.doc", "y.pdf"}));
    EXPECT_EQ(run("@Attachments"), ValueList{2.0});
    EXPECT_EQ(run("@AttachmentLengths"), (ValueList{10.0, 20.0}));
    EXPECT_EQ(run("@DocumentUniqueID"), texts({"0123456789ABCDEF0123456789ABCDEF"}));
    EXPECT_EQ(run("@NoteID"), texts({"NT00000008"}));
    EXPECT_EQ(run("@Created"), (ValueList{DateTime{86'400'000, true}}));
    EXPECT_EQ(run("@Modified - @Created"), ValueList{86'400.0});
    EXPECT_EQ(run("@Year(@Created) : @Month(@Created) : @Day(@Created)"), (ValueList{1970.0, 1.0, 2.0}));
    EXPECT_EQ(run("@Date(2024; 2; 29)"), (ValueList{DateTime{1'709'164'800'000, false}}));
}

TEST(FormulaTest, FunctionsWithoutADocument) {
    NoDocument none;
    EXPECT_EQ(Formula("@AttachmentNames").evaluate(none), texts({""}));
    EXPECT_THROW(Formula("@DocumentUniqueID").evaluate(none), std::exception);
}

TEST(FormulaTest, BadFormulasGiveTheirPosition) {
    EXPECT_THAT(errorOf("1 +"), ::testing::HasSubstr("position 4"));
    EXPECT_THAT(errorOf("@NoSuchThing(1)"), ::testing::HasSubstr("position 1: unknown function @nosuchthing"));
    EXPECT_THAT(errorOf("\"open"), ::testing::HasSubstr("not closed"));
    EXPECT_THAT(errorOf("(1 + 2"), ::testing::HasSubstr("expected ')'"));
    EXPECT_THAT(errorOf("1 2"), ::testing::HasSubstr("expected ';'"));
    EXPECT_THAT(errorOf("\"你好\" # 1"), ::testing::HasSubstr("position 6"));
    EXPECT_THAT(errorOf("@Left(\"a\")"), ::testing::HasSubstr("does not take 1 argument"));
    EXPECT_THAT(errorOf("1 + \"a\""), ::testing::HasSubstr("cannot combine number with text"));
    EXPECT_THAT(errorOf("1 / 0"), ::testing::HasSubstr("division by zero"));
    EXPECT_THAT(errorOf("@If(\"yes\"; 1; 2)"), ::testing::HasSubstr("condition"));
    EXPECT_THAT(errorOf(""), ::testing::HasSubstr("empty"));
}

TEST(FormulaTest, RemarkBlocksAreSkippedWhereverTheyStand) {
    EXPECT_EQ(run("%REM\nnotes; with \"quotes\" and @Nothing(\n%END REM\n1 + 2"), ValueList{3.0});
    EXPECT_EQ(run("x := 1; %rem a %end  rem x + 1"), ValueList{2.0});
    EXPECT_EQ(run("%REM %ENDING %END REM 5"), ValueList{5.0});
    EXPECT_EQ(run("REM {comment}; 4"), ValueList{4.0});
    EXPECT_THAT(errorOf("1; %REM never closed"), ::testing::HasSubstr("position 4: the %REM block is not closed"));
}

TEST(FormulaTest, NameTakesAKeywordAndReadsEveryFormOfName) {
    const char* canonical = "\"CN=John B Goode/OU=Sales/OU=East/O=Acme/C=US\"";
    auto name = [&](const std::string& keyword, const std::string& value) {
        return run("@Name([" + keyword + "]; " + value + ")");
    };
    EXPECT_EQ(name("CN", canonical), texts({"John B Goode"}));
    EXPECT_EQ(name("Abbreviate", canonical), texts({"John B Goode/Sales/East/Acme/US"}));
    EXPECT_EQ(name("O", canonical), texts({"Acme"}));
    EXPECT_EQ(name("OU1", canonical), texts({"Sales"}));
    EXPECT_EQ(name("ou2", canonical), texts({"East"}));
    EXPECT_EQ(name("OU3", canonical), texts({""}));
    EXPECT_EQ(name("C", canonical), texts({"US"}));
    EXPECT_EQ(name("ToKeyword", canonical), texts({"US\\Acme\\East\\Sales"}));
    EXPECT_EQ(name("HierarchyOnly", canonical), texts({"OU=Sales/OU=East/O=Acme/C=US"}));
    EXPECT_EQ(name("Canonicalize", "\"John B Goode/Sales/Acme\""), texts({"CN=John B Goode/OU=Sales/O=Acme"}));
    EXPECT_EQ(name("CN", "\"Jane/Acme\" : \"Flat Name\""), texts({"Jane", "Flat Name"}));
    EXPECT_EQ(name("Abbreviate", "\"Flat Name\""), texts({"Flat Name"}));
    EXPECT_EQ(name("O", "\"Flat Name\""), texts({""}));
}

TEST(FormulaTest, KeywordsAreCheckedWhenTheFormulaIsRead) {
    EXPECT_THAT(errorOf("@Name([Nonsense]; \"a\")"), ::testing::HasSubstr("position 7: @name does not take the keyword [nonsense]"));
    EXPECT_THAT(errorOf("@Name(\"a\"; \"b\")"), ::testing::HasSubstr("needs a keyword"));
    EXPECT_THAT(errorOf("@Trim([CN])"), ::testing::HasSubstr("does not take the keyword [cn]"));
    EXPECT_THAT(errorOf("[CN]"), ::testing::HasSubstr("position 1: expected a value"));
    EXPECT_THAT(errorOf("@Name([CN \"a\")"), ::testing::HasSubstr("expected ']'"));
}

TEST(FormulaTest, NumberFunctions) {
    EXPECT_EQ(run("@Abs(-2 : 3)"), (ValueList{2.0, 3.0}));
    EXPECT_EQ(run("@Integer((-2.7) : 2.7)"), (ValueList{-2.0, 2.0}));
    EXPECT_EQ(run("@Round(2.5 : (-2.5) : 1.24)"), (ValueList{3.0, -2.0, 1.0}));
    EXPECT_EQ(run("@Round(1234; 100)"), ValueList{1200.0});
    EXPECT_EQ(run("@Max(3 : 9 : 1)"), ValueList{9.0});
    EXPECT_EQ(run("@Min(3 : 9 : 1)"), ValueList{1.0});
    EXPECT_EQ(run("@Max(1 : 5; 3)"), (ValueList{3.0, 5.0}));
    EXPECT_THAT(errorOf("@Round(2; 0)"), ::testing::HasSubstr("step other than 0"));
    EXPECT_THAT(errorOf("@Abs(\"x\")"), ::testing::HasSubstr("@abs needs numbers"));
}

TEST(FormulaTest, CharactersNewLineAndDo) {
    EXPECT_EQ(run("@Char(65) + @Char(233) + @Char(20320) + @Char(128512)"), texts({"A\u00e9\u4f60\U0001F600"}));
    EXPECT_EQ(run("\"a\" + @NewLine + \"b\""), texts({"a\nb"}));
    EXPECT_EQ(run("@Do(\"a\"; Amount + 1)"), ValueList{3.5});
    EXPECT_THAT(errorOf("@Char(55296)"), ::testing::HasSubstr("surrogate"));
    EXPECT_THAT(errorOf("@Char(0)"), ::testing::HasSubstr("@Char"));
}

TEST(FormulaTest, TextPiecesFromTheBackWordsAndReplacements) {
    EXPECT_EQ(run("@LeftBack(\"a/b/c\"; \"/\")"), texts({"a/b"}));
    EXPECT_EQ(run("@RightBack(\"a/b/c\"; \"/\")"), texts({"c"}));
    EXPECT_EQ(run("@LeftBack(\"你好吗\"; 1)"), texts({"你好"}));
    EXPECT_EQ(run("@RightBack(\"你好吗\"; 1)"), texts({"好吗"}));
    EXPECT_EQ(run("@LeftBack(\"abc\"; \"z\") + @RightBack(\"abc\"; 9)"), texts({""}));
    EXPECT_EQ(run("@Word(\"a, b, c\"; \", \"; 2)"), texts({"b"}));
    EXPECT_EQ(run("@Word(\"a b\" : \"c\"; \" \"; -1)"), texts({"b", "c"}));
    EXPECT_EQ(run("@Word(\"a b\"; \" \"; 3)"), texts({""}));
    EXPECT_EQ(run("@ReplaceSubstring(\"a-b_c\"; \"-\" : \"_\"; \" \")"), texts({"a b c"}));
    EXPECT_EQ(run("@ReplaceSubstring(\"aaa\" : \"xa\"; \"a\"; \"aa\")"), texts({"aaaaaa", "xaa"}));
    EXPECT_EQ(run("@ReplaceSubstring(\"abc\"; \"\" : \"b\"; \"1\" : \"2\")"), texts({"a2c"}));
    EXPECT_THAT(errorOf("@Word(\"a\"; \"\"; 1)"), ::testing::HasSubstr("needs a separator"));
}

}  // namespace
}  // namespace velloran::notes::formula
