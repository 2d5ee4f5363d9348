// "有 N 条诊断信息未显示" counts only what --verbose would add to the error
// the batch tool printed.
#include "HeldDiagnostics.h"

#include "errors/Failure.h"

#include <gtest/gtest.h>

#include <optional>

using namespace velloran;
using Kind = velloran::platform::Failure::Kind;

TEST(HeldDiagnosticsTest, CountsOnlyWhatVerboseWouldAddToThePrintedError) {
    const velloran::platform::Failure translated(Kind::Database, "数据库 /d.nsf 中没有名为“X”的视图",
                                       {"", "The database /d.nsf has no view named 'X'", 0, false});
    const velloran::platform::Failure detailed(Kind::Database, "访问数据库文件 /d.nsf 时出错",
                                     {"", "Error while reading, database file /d.nsf: disk image is malformed"});
    const struct {
        const char* what;
        std::vector<QString> held;
        std::optional<velloran::platform::Failure> error;
        int hidden;
    } cases[] = {
        {"a run without an error: every diagnostic", {QStringLiteral("a"), QStringLiteral("b")}, std::nullopt, 2},
        {"an error whose original only translates it", {}, translated, 0},
        {"a diagnostic that repeats the error's original", {QStringLiteral(" The database /d.nsf has no view named 'X'\n")},
         translated, 0},
        {"an error whose original says more", {}, detailed, 1},
        {"another diagnostic beside the error", {QStringLiteral("the spreadsheet application did not start")}, translated,
         1},
    };
    for (const auto& c : cases) {
        batch::HeldDiagnostics held;
        for (const QString& message : c.held) held.hold(message);
        EXPECT_EQ(held.count(), static_cast<int>(c.held.size())) << c.what;
        EXPECT_EQ(held.hiddenBeside(c.error ? &*c.error : nullptr), c.hidden) << c.what;
    }
}
