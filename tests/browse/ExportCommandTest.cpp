#include "BrowseFixture.h"

#include "Settings.h"

#include <gtest/gtest.h>

#include <QDir>

#include <tuple>

using velloran::testing::BrowseFixture;

namespace {

class ExportCommandTest : public BrowseFixture {
protected:
    // Opens a generated database of that many documents, shows its view
    // "All" and makes the folder `out`.
    void showView(int documents, const std::string& out) {
        prompts_.answerOpenFile(QString::fromStdString(installation_.generateDatabase("g.nsf", documents)));
        window().openfile->trigger();
        click({"All"});
        std::filesystem::create_directories(installation_.file(out));
        prompts_.clear();
    }
};

}  // namespace

TEST_F(ExportCommandTest, TheCommandExportsTheShownViewFromTheTypedStart) {
    showView(5, "out");
    prompts_.answerSaveFile(QString::fromStdString(installation_.file("out/all.xls")));
    prompts_.answerInput(QStringLiteral("4"));
    window().exportAction->trigger();

    ASSERT_EQ(prompts_.messages().size(), 1u);
    EXPECT_TRUE(prompts_.messages()[0].text.startsWith(QStringLiteral("您好，数据导出完成")))
        << prompts_.messages()[0].text.toStdString();
    EXPECT_TRUE(std::filesystem::exists(installation_.file("out/all_开始为第4个文档.xls")));
    EXPECT_EQ(QDir(QString::fromStdString(installation_.file("logs"))).entryList(QDir::Files).size(), 1);
}

TEST_F(ExportCommandTest, EachFormatOfTheSaveDialogNamesTheWorkbookWithItsExtension) {
    showView(2, "out");
    const QString out = QString::fromStdString(installation_.file("out/"));
    // The name as typed, the filter chosen (0: .xls, 1: .xlsx, 2: .csv), the workbook.
    const std::vector<std::tuple<QString, int, std::string>> choices = {
        {"a", 0, "a_开始为第1个文档.xls"},        {"b", 1, "b_开始为第1个文档.xlsx"},
        {"c", 2, "c_开始为第1个文档.csv"},        {"d.XLSX", 0, "d_开始为第1个文档.xlsx"},
        {"e.xls", 2, "e_开始为第1个文档.xls"},    {"f.txt", 1, "f.txt_开始为第1个文档.xlsx"}};
    for (const auto& [typed, filter, workbook] : choices) {
        prompts_.clear();
        prompts_.answerSaveFile(out + typed, filter);
        prompts_.answerInput(QStringLiteral("1"));
        window().exportAction->trigger();
        EXPECT_TRUE(std::filesystem::exists(installation_.file("out/" + workbook))) << workbook;
        ASSERT_FALSE(prompts_.calls().empty());
        EXPECT_EQ(prompts_.calls()[0].filter,
                  QStringLiteral("Excel文件|*.xls|Excel 工作簿|*.xlsx|CSV UTF-8|*.csv"));
    }
}

TEST_F(ExportCommandTest, TheSaveDialogOpensInTheFolderOfTheLastExportWhichIsKeptForTheNextStart) {
    showView(1, "first");
    const QString first = QString::fromStdString(installation_.file("first"));
    prompts_.answerSaveFile(first + QStringLiteral("/a"));
    prompts_.answerInput(QStringLiteral("1"));
    window().exportAction->trigger();
    prompts_.clear();
    window().exportAction->trigger();  // cancelled at the dialog
    ASSERT_EQ(prompts_.calls().size(), 1u);
    EXPECT_EQ(prompts_.calls()[0].folder, first);
    EXPECT_EQ(velloran::app::loadExportFolder(), first)
        << "what the window reads when it starts";
}

TEST_F(ExportCommandTest, WithoutAViewThereIsNothingToExport) {
    prompts_.answerSaveFile(QString::fromStdString(installation_.file("x.xls")));
    prompts_.answerInput(QStringLiteral("1"));
    window().exportAction->trigger();
    ASSERT_EQ(prompts_.calls().size(), 1u) << "said before any dialog";
    EXPECT_EQ(prompts_.calls()[0].text, QStringLiteral("当前没有可导出的内容"));
}
