// The batch tool's parts that need no process: near names, the progress
// line, and "--name=value" on the shared command line.
#include "NearNames.h"
#include "Terminal.h"

#include "common/CommandLine.h"

#include <gmock/gmock.h>

using namespace velloran;
using velloran::tools::CommandLine;
using velloran::tools::UsageError;

TEST(NearNamesTest, FindsNamesWithinAFewEditsOrContainingTheWantedOneNearestFirst) {
    EXPECT_EQ(batch::editDistance(QStringLiteral("kitten"), QStringLiteral("sitting")), 3);
    EXPECT_EQ(batch::editDistance(QString(), QStringLiteral("abc")), 3);
    EXPECT_EQ(batch::editDistance(QStringLiteral("订单"), QStringLiteral("订单表")), 1);

    const QStringList views = {QStringLiteral("Cancelled Orders"), QStringLiteral("Orders"), QStringLiteral("Ordres"),
                               QStringLiteral("Customers"), QStringLiteral("By City")};
    EXPECT_EQ(batch::nearNames(QStringLiteral("orders"), views),
              (QStringList{QStringLiteral("Cancelled Orders"), QStringLiteral("Ordres")}))
        << "letter case ignored; the name itself is no suggestion";
    EXPECT_EQ(batch::nearNames(QStringLiteral("ORDER"), views).first(), QStringLiteral("Cancelled Orders"));
    EXPECT_TRUE(batch::nearNames(QStringLiteral("Invoices"), views).isEmpty());
    EXPECT_EQ(batch::nearNames(QStringLiteral("o"), views, 2).size(), 2);

    EXPECT_EQ(batch::suggestionFor(QStringLiteral("Custmers"), views), QStringLiteral("\n您是不是要找: Customers"));
    EXPECT_EQ(batch::suggestionFor(QStringLiteral("Invoices"), views), QString());
}

TEST(ProgressLineTest, ShowsDocumentsRateAndTimeLeftOnceTimeHasPassed) {
    EXPECT_EQ(batch::progressLine(200, 50, 0), "[#######.......................] 25% 50/200个文档");
    EXPECT_EQ(batch::progressLine(200, 50, 2000), "[#######.......................] 25% 50/200个文档 25个/秒 剩余0:00:06");
    EXPECT_EQ(batch::progressLine(100000, 1000, 1000), "[..............................] 1% 1000/100000个文档 1000个/秒 剩余0:01:39");
    EXPECT_EQ(batch::progressLine(0, 0, 5000), "[..............................] 0% 0/0个文档");
    EXPECT_EQ(batch::prefixedLines(QStringLiteral("a\nb")), "velloran-export: a\nvelloran-export: b\n");
}

TEST(CommandLineTest, TakesAValueAfterAnEqualsSignAndRefusesOneForAFlag) {
    const char* arguments[] = {"tool", "--out=a=b.xls", "--count", "3", "--empty=", "--quiet"};
    const CommandLine line(6, const_cast<char**>(arguments), {"out", "count", "empty"}, {"quiet"});
    EXPECT_EQ(line.required("out"), "a=b.xls");
    EXPECT_EQ(line.number("count", 0), 3);
    EXPECT_EQ(line.required("empty"), "");
    EXPECT_TRUE(line.has("quiet"));

    const auto kindOf = [](std::vector<const char*> args) {
        try {
            CommandLine(static_cast<int>(args.size()), const_cast<char**>(args.data()), {"out"}, {"quiet"});
        } catch (const UsageError& error) {
            return error.kind();
        }
        ADD_FAILURE() << "accepted";
        return UsageError::Kind::UnknownOption;
    };
    EXPECT_EQ(kindOf({"tool", "--quiet=1"}), UsageError::Kind::UnwantedValue);
    EXPECT_EQ(kindOf({"tool", "--other=1"}), UsageError::Kind::UnknownOption);
    EXPECT_EQ(kindOf({"tool", "--out"}), UsageError::Kind::MissingValue);
    EXPECT_EQ(kindOf({"tool", "out"}), UsageError::Kind::UnexpectedArgument);
    EXPECT_STREQ(UsageError(UsageError::Kind::UnwantedValue, "quiet").what(), "选项 --quiet 不带值");
}
