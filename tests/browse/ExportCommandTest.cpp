#include "BrowseFixture.h"

#include <gtest/gtest.h>

#include <QDir>

using velloran::testing::BrowseFixture;

namespace {

class ExportCommandTest : public BrowseFixture {};

}  // namespace

TEST_F(ExportCommandTest, TheCommandExportsTheShownViewFromTheTypedStart) {
    const std::string file = installation_.generateDatabase("g.nsf", 5);
    prompts_.answerOpenFile(QString::fromStdString(file));
    window().openfile->trigger();
    click({"All"});
    std::filesystem::create_directories(installation_.file("out"));
    prompts_.answerSaveFile(QString::fromStdString(installation_.file("out/all.xls")));
    prompts_.answerInput(QStringLiteral("4"));
    window().exportAction->trigger();

    ASSERT_EQ(prompts_.messages().size(), 1u);
    EXPECT_TRUE(prompts_.messages()[0].text.startsWith(QStringLiteral("您好，数据导出完成")))
        << prompts_.messages()[0].text.toStdString();
    EXPECT_TRUE(std::filesystem::exists(installation_.file("out/all_开始为第4个文档.xls")));
    EXPECT_EQ(QDir(QString::fromStdString(installation_.file("logs"))).entryList(QDir::Files).size(), 1);
}

TEST_F(ExportCommandTest, WithoutAViewThereIsNothingToExport) {
    prompts_.answerSaveFile(QString::fromStdString(installation_.file("x.xls")));
    prompts_.answerInput(QStringLiteral("1"));
    window().exportAction->trigger();
    ASSERT_EQ(prompts_.messages().size(), 1u);
    EXPECT_EQ(prompts_.messages()[0].text, QStringLiteral("当前没有可导出的内容"));
}
