// The pure rules of the export: integer texts, the workbook's name, the
// 32000/32100 cell rule, and names from the data made safe as paths.
#include "QStringPrinter.h"

#include "paths/DocumentFiles.h"
#include "paths/ExportPaths.h"
#include "paths/SafeNames.h"
#include "run/IntegerText.h"
#include "run/WorkbookFile.h"
#include "text/Gb18030.h"
#include "workbook/CellText.h"

#include <gtest/gtest.h>

#include <functional>

using namespace velloran::exporting;
using velloran::platform::gb18030Length;

TEST(IntegerText, AcceptsDecimalAndHexadecimalThirtyTwoBitIntegers) {
    const std::vector<std::pair<const char*, std::int32_t>> valid = {
        {"2019", 2019},        {"  -12", -12},       {"+7", 7},           {"007", 7},
        {"2147483647", 2147483647}, {"-2147483648", INT32_MIN}, {"$1F", 31}, {"x10", 16},
        {"X10", 16},           {"0x10", 16},         {"0XfF", 255},       {"-$10", -16},
        {"$FFFFFFFF", -1},     {"$80000000", INT32_MIN}};
    for (const auto& [text, value] : valid) {
        EXPECT_TRUE(IsIntegerText(QString::fromUtf8(text))) << text;
        EXPECT_EQ(StrToInt(QString::fromUtf8(text)), value) << text;
    }
}

TEST(IntegerText, RefusesEverythingElse) {
    for (const char* text : {"", " ", "-", "+", "$", "0x", "x", "2147483648", "-2147483649", "12 ", "1.5", "1e3",
                             "$123456789", "--1", "- 1", "\t1", "１２", "0x1G", "abc", "99999999999999999999"})
        EXPECT_FALSE(IsIntegerText(QString::fromUtf8(text))) << text;
    try {
        StrToInt(QStringLiteral("三"));
        FAIL() << "no error";
    } catch (const velloran::platform::Failure& error) {
        EXPECT_STREQ(error.what(), "'三' is not a valid integer value");
    }
}

TEST(WorkbookFile, TheNamingRuleKeepsTheFormatTheNameEndsIn) {
    // The chosen name's ending, as the window passes it: .xlsx and .csv keep
    // their format, any other name is an Excel 97-2003 workbook as before.
    const std::vector<std::pair<QString, QString>> named = {
        {"/out/x", "/out/x_开始为第3个文档.xls"},         {"/out/a.xls", "/out/a_开始为第3个文档.xls"},
        {"/out/a.XlS", "/out/a_开始为第3个文档.xls"},     {"/out/c.xlsx", "/out/c_开始为第3个文档.xlsx"},
        {"/out/c.XLSX", "/out/c_开始为第3个文档.xlsx"},   {"/out/d.csv", "/out/d_开始为第3个文档.csv"},
        {"/out/d.CsV", "/out/d_开始为第3个文档.csv"},     {"/out/e.txt", "/out/e.txt_开始为第3个文档.xls"},
        {"/out/f.xlsm", "/out/f.xlsm_开始为第3个文档.xls"}, {"/out/.csv.x", "/out/.csv.x_开始为第3个文档.xls"}};
    for (const auto& [chosen, expected] : named)
        EXPECT_EQ(workbookFileName(chosen, QStringLiteral("3"), formatOfName(chosen)), expected) << chosen.toStdString();
}

TEST(WorkbookFile, AGivenFormatDropsOnlyItsOwnEnding) {
    EXPECT_EQ(workbookFileName("/out/c", "1", WorkbookFormat::Xlsx), "/out/c_开始为第1个文档.xlsx");
    EXPECT_EQ(workbookFileName("/out/c.Csv", "1", WorkbookFormat::Csv), "/out/c_开始为第1个文档.csv");
    EXPECT_EQ(workbookFileName("/out/c.xls", "1", WorkbookFormat::Csv), "/out/c.xls_开始为第1个文档.csv");
    EXPECT_EQ(workbookFileName("/out/c.xlsx", "1", WorkbookFormat::Xls), "/out/c.xlsx_开始为第1个文档.xls");
}

// The number goes before the last part's extension, never into a folder's.
TEST(WorkbookFile, ANumberedNameKeepsTheExtension) {
    const std::vector<std::tuple<QString, int, QString>> numbered = {
        {"/out/a.xls", 1, "/out/a.xls"},          {"/out/a.xls", 2, "/out/a (2).xls"},
        {"/out/a.b.xlsx", 10, "/out/a.b (10).xlsx"}, {"/o.d/a", 3, "/o.d/a (3)"},
        {"/out/.csv", 2, "/out/.csv (2)"},          {"a.csv", 999, "a (999).csv"}};
    for (const auto& [name, number, expected] : numbered)
        EXPECT_EQ(numberedFileName(name, number), expected) << name.toStdString() << " " << number;
}

TEST(WorkbookFile, NamesAndFolders) {
    EXPECT_TRUE(isBlankFileName(QStringLiteral(" \t\r\n")));
    EXPECT_FALSE(isBlankFileName(QStringLiteral(" a ")));
    EXPECT_EQ(folderOf(QStringLiteral("/out/sub/a.xls")), QStringLiteral("/out/sub/"));
    EXPECT_EQ(folderOf(QStringLiteral("a.xls")), QStringLiteral("./"));
    EXPECT_EQ(withoutFolder(QStringLiteral("/out/sub/a.xls")), QStringLiteral("a.xls"));
}

// .xls: appended below 32000 GB18030 bytes, cut above 32000 to 32100 on a
// character boundary; .xlsx and CSV: cut to 32767 characters. Whatever is
// left out is told.
TEST(CellText, EachFormatKeepsWhatItsCellHoldsAndTellsWhatItLeftOut) {
    const QString a = QStringLiteral("a");
    const QString han(20000, QChar(0x6C49));
    struct Case {
        const char* what;
        WorkbookFormat format;
        QString before;
        QString value;
        qsizetype size;
        bool whole;
    };
    const Case cases[] = {
        {"32001 to 32100 bytes stay whole", WorkbookFormat::Xls, QString(31999, QLatin1Char('a')), QStringLiteral("bc"), 32001, true},
        {"nothing is appended at 32000 bytes", WorkbookFormat::Xls, QString(32000, QLatin1Char('a')), QStringLiteral("more"), 32000, false},
        {"a long value keeps 32100 bytes", WorkbookFormat::Xls, {}, QString(40000, QLatin1Char('x')), 32100, false},
        // 1 + 2 x 20000 bytes: the cut at 32100 would split a two-byte character.
        {"the .xls cut keeps whole characters", WorkbookFormat::Xls, {}, a + han, 1 + 16049, false},
        {"an .xlsx cell takes 32767 characters", WorkbookFormat::Xlsx, {}, QString(32767, QLatin1Char('x')), 32767, true},
        {"an .xlsx cell counts characters, not bytes", WorkbookFormat::Xlsx, {}, a + han, 20001, true},
        {"an .xlsx cell keeps its first 32767", WorkbookFormat::Xlsx, QString(32000, QLatin1Char('a')), QString(800, QLatin1Char('x')), 32767,
         false},
        {"a CSV cell alike", WorkbookFormat::Csv, {}, QString(40000, QLatin1Char('x')), 32767, false},
        {"never half a surrogate pair", WorkbookFormat::Xlsx, QString(32766, QLatin1Char('a')), QStringLiteral("😀"), 32766, false},
    };
    for (const Case& c : cases) {
        QString text = c.before;
        EXPECT_EQ(appendItemValue(text, c.value, c.format), c.whole) << c.what;
        EXPECT_EQ(text.size(), c.size) << c.what;
        EXPECT_TRUE((c.before + c.value).startsWith(text)) << c.what;
    }
}

TEST(SafeNames, HostileNamesStayOneComponent) {
    const std::vector<std::pair<QString, QString>> cases = {
        {QStringLiteral("a.doc"), QStringLiteral("a.doc")},
        {QStringLiteral("../../evil.sh"), QStringLiteral("___.._evil.sh")},
        {QStringLiteral(".."), QStringLiteral("__")},
        {QStringLiteral("."), QStringLiteral("_")},
        {QString(), QStringLiteral("_")},
        {QStringLiteral(" "), QStringLiteral("_")},
        {QStringLiteral("/etc/passwd"), QStringLiteral("_etc_passwd")},
        {QStringLiteral("C:\\Windows\\win.ini"), QStringLiteral("C__Windows_win.ini")},
        {QStringLiteral("a\nb\tc"), QStringLiteral("a_b_c")},
        {QStringLiteral(".profile"), QStringLiteral("_profile")},
        {QStringLiteral("..x.tar.gz"), QStringLiteral("__x.tar.gz")},
        {QStringLiteral("报告 2024.pdf"), QStringLiteral("报告 2024.pdf")}};
    for (const auto& [name, safe] : cases) EXPECT_EQ(safeFileName(name), safe) << name.toStdString();
}

TEST(SafeNames, ALongNameIsCutToTheFileSystemsLimitKeepingItsExtension) {
    const QString name = QString(200, QChar(0x6C49)) + QStringLiteral(".pdf");
    const QString safe = safeFileName(name);
    EXPECT_LE(safe.toUtf8().size(), kMaxNameBytes);
    EXPECT_TRUE(safe.endsWith(QStringLiteral(".pdf")));
    EXPECT_EQ(safe.toUtf8().size(), 83 * 3 + 4);
}

TEST(ExportPaths, TheViewNamesBackslashNestsAndNothingLeavesTheExportFolder) {
    const QString out = QStringLiteral("/out/");
    EXPECT_EQ(ExportPaths(out, QStringLiteral("V")).documentFolder(QStringLiteral("0123")), QStringLiteral("/out/V附件/0123/"));
    EXPECT_EQ(ExportPaths(out, QStringLiteral("部门\\按日期")).viewAttachmentFolder(), QStringLiteral("/out/部门/按日期附件"));
    EXPECT_EQ(ExportPaths(out, QStringLiteral("..\\..\\x")).viewAttachmentFolder(), QStringLiteral("/out/__/__/x附件"));
    EXPECT_EQ(ExportPaths(out, QStringLiteral("\\abs\\")).viewAttachmentFolder(), QStringLiteral("/out/abs/附件"));
    EXPECT_EQ(ExportPaths(out, QStringLiteral("a/b:c")).viewAttachmentFolder(), QStringLiteral("/out/a_b_c附件"));
    EXPECT_EQ(ExportPaths(out, QStringLiteral("V")).documentFolder(QStringLiteral("../..")), QStringLiteral("/out/V附件/___../"));
}

TEST(DocumentFiles, EveryNameHandedOutIsSafeAndDistinctAndFitsTheFileSystem) {
    DocumentFiles files(QStringLiteral("/out/V附件/1/"));
    EXPECT_EQ(files.claim(QStringLiteral("/etc/x")), QStringLiteral("/out/V附件/1/_etc_x"));
    EXPECT_EQ(files.claim(QStringLiteral("_etc_x")), QStringLiteral("/out/V附件/1/_etc_x (2)"));
    EXPECT_EQ(files.claim(QStringLiteral("_etc_x (2)")), QStringLiteral("/out/V附件/1/_etc_x (2) (2)"));
    EXPECT_EQ(files.claim(QStringLiteral("/etc/x")), QStringLiteral("/out/V附件/1/_etc_x (3)"));

    const QString longName = QString(84, QChar(0x6C49)) + QStringLiteral(".pdf");  // 256 bytes
    const QString first = files.claim(longName).mid(files.folder().size());
    const QString second = files.claim(longName).mid(files.folder().size());
    EXPECT_NE(first, second);
    EXPECT_LE(second.toUtf8().size(), kMaxNameBytes);
    EXPECT_TRUE(second.endsWith(QStringLiteral(" (2).pdf"))) << second.toStdString();
}

// Thousands of names that collide once made safe: the same numbered names
// as ever, each claim trying about one name instead of all those before it.
TEST(DocumentFiles, CollidingNamesKeepTheirNumbersAndEachClaimTriesAboutOneName) {
    constexpr int kClaims = 1000;
    struct Case {
        const char* what;
        QStringList taken;  // claimed first, as an attachment named so
        QString name;       // then claimed kClaims times
        std::function<QString(int)> expected;  // the i-th claim's name, from 0
    };
    const std::vector<Case> cases = {
        {"one name again and again", {}, QStringLiteral("a/b.txt"),
         [](int i) { return i == 0 ? QStringLiteral("a_b.txt") : QStringLiteral("a_b (%1).txt").arg(i + 1); }},
        {"numbered names already taken are skipped", {QStringLiteral("a_b (3).txt"), QStringLiteral("a_b (5).txt")},
         QStringLiteral("a:b.txt"),
         [](int i) {
             const int number = i + 1 + (i >= 2) + (i >= 3);
             return number == 1 ? QStringLiteral("a_b.txt") : QStringLiteral("a_b (%1).txt").arg(number);
         }}};
    for (const Case& c : cases) {
        DocumentFiles files(QStringLiteral("/out/V附件/1/"));
        for (const QString& taken : c.taken) files.claim(taken);
        const std::int64_t before = files.namesTried();
        for (int i = 0; i < kClaims; ++i)
            ASSERT_EQ(files.claim(c.name), files.folder() + c.expected(i)) << c.what << ", claim " << i;
        EXPECT_LE(files.namesTried() - before, 2 * kClaims) << c.what;
    }
}
