// The engine's messages: Chinese for the user, the English original with
// every detail for diagnostics, reasons nested in both languages.
#include "store/EngineError.h"

#include <gtest/gtest.h>

namespace velloran::notes {
namespace {

TEST(MessageCatalogueTest, ArgumentsFillBothTextsAndDetailStaysInTheOriginal) {
    Failure error = engineFailure(msg::kCannotOpen, {"/data/a.nsf", "unable to open database file"});
    EXPECT_STREQ(error.what(), "无法打开数据库文件: /data/a.nsf");
    EXPECT_EQ(std::string(error.original()), "Cannot open the database file /data/a.nsf: unable to open database file");
}

TEST(MessageCatalogueTest, ANestedReasonKeepsItsOwnTwoTexts) {
    Failure formula = engineFailure(msg::kFormula, {"9", "expected ')'"});
    Failure outer = engineFailure(msg::kSelectionFormula, {"V", formula});
    EXPECT_EQ(std::string(outer.what()), "视图“V”的选择公式: 公式第 9 个字符处有错误");
    EXPECT_EQ(std::string(outer.original()), "View 'V', selection formula: Formula error at position 9: expected ')'");

    std::runtime_error plain("No space left on device");
    Failure save = engineFailure(msg::kCannotSave, {"/out/a.txt", plain});
    EXPECT_EQ(std::string(save.what()), "无法保存文件: /out/a.txt");
    EXPECT_EQ(std::string(save.original()), "No space left on device");
}

TEST(MessageCatalogueTest, TheOriginalSaysMoreOnlyWhenItHoldsWhatTheShownTextLeavesOut) {
    const Failure formula = engineFailure(msg::kFormula, {"9", "expected ')'"});
    const Failure sameFormula = engineFailure(msg::kNoSuchView, {"/d/a.nsf", "V"});
    const struct {
        const char* what;
        Failure error;
        bool saysMore;
    } cases[] = {
        {"a reason only the original names", engineFailure(msg::kCannotOpen, {"/d/a.nsf", "unable to open"}), true},
        {"the same arguments in both", sameFormula, false},
        {"a nested reason whose detail the shown text leaves out", engineFailure(msg::kSelectionFormula, {"V", formula}), true},
        {"a nested reason without more", engineFailure(msg::kSelectionFormula, {"V", sameFormula}), false},
        {"an empty reason", engineFailure(msg::kCannotOpen, {"/d/a.nsf", ""}), false},
    };
    for (const auto& c : cases) EXPECT_EQ(c.error.originalSaysMore(), c.saysMore) << c.what;
}

TEST(MessageCatalogueTest, PlaceholdersWithoutAnArgumentAndBracesInArgumentsStayAsTheyAre) {
    Failure missing = engineFailure(msg::kNotInView, {"{2}"});
    EXPECT_EQ(std::string(missing.what()), "文档 {2} 不在视图 {2} 中");
    EXPECT_EQ(std::string(missing.original()), "The document {2} is not in view {2}");
}

}  // namespace
}  // namespace velloran::notes
