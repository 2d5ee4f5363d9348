#include "BrowseFixture.h"

#include "DocumentList.h"
#include "ListView.h"

#include <gtest/gtest.h>

using namespace velloran;
using browse::PageButton;
using velloran::testing::BrowseFixture;

namespace {

nlohmann::json fiveColumnDatabase() {
    nlohmann::json columns = nlohmann::json::array();
    for (const char* title : {"A", "B", "C", "D", "E"}) columns.push_back({{"title", title}, {"formula", "Subject"}});
    return {{"views",
             {{{"name", "Five"}, {"columns", columns}},
              {{"name", "Nothing"}, {"selection", "SELECT Form = \"None\""}, {"columns", columns}}}},
            {"documents", {{{"items", {{{"name", "Subject"}, {"value", "一"}}}}}}}};
}

class DocumentListTest : public BrowseFixture {
protected:
    void openView(const std::string& database, const QString& view) {
        prompts_.answerOpenFile(QString::fromStdString(database));
        window().openfile->trigger();
        click({view});
    }
    void press(PageButton button) {
        window().runCommand([&] { window().documentList().pageButtonClick(button); });
    }
};

}  // namespace

TEST_F(DocumentListTest, PagesThroughTwoHundredAndFiftyDocuments) {
    const std::string file = installation_.generateDatabase("g250.nsf", 250);
    openView(file, "All");
    EXPECT_EQ(rowCaptions(), unids(file, "All", 1, 100));
    EXPECT_EQ(window().ViewDocumentCount, 250);
    EXPECT_EQ(window().ReadPosition, 100);
    EXPECT_EQ(window().statusPanelText(1), QStringLiteral("视图：All(All) 共有文档:250"));
    EXPECT_EQ(window().ListView1->columnCaption(0), QStringLiteral("文档ID"));
    EXPECT_EQ(window().ListView1->itemSubItems(0).size(), window().ListView1->columnCount() - 1);

    press(PageButton::Next);
    EXPECT_EQ(rowCaptions(), unids(file, "All", 101, 200));
    press(PageButton::Next);
    EXPECT_EQ(rowCaptions(), unids(file, "All", 201, 250));
    press(PageButton::Next);
    EXPECT_EQ(rowCaptions().size(), 50) << "nothing left to read";
    press(PageButton::Last);
    EXPECT_EQ(rowCaptions().size(), 50);
    press(PageButton::Previous);
    EXPECT_EQ(rowCaptions(), unids(file, "All", 1, 100));
    press(PageButton::Last);
    EXPECT_EQ(rowCaptions(), unids(file, "All", 1, 100));
    EXPECT_TRUE(prompts_.messages().empty());
}

TEST_F(DocumentListTest, LastPageOfTwoThousandFiveHundredStartsAtTwoThousand) {
    const std::string file = installation_.generateDatabase("g2500.nsf", 2500);
    openView(file, "All");
    press(PageButton::Last);
    EXPECT_EQ(rowCaptions(), unids(file, "All", 2000, 2099));
}

TEST_F(DocumentListTest, EmptyViewShowsHeadersOnlyAndStopsThePaging) {
    const std::string file = installation_.buildDatabase("five.nsf", fiveColumnDatabase());
    openView(file, "Nothing");
    EXPECT_EQ(window().ListView1->columnCount(), 6);
    EXPECT_EQ(window().ListView1->itemCount(), 0);
    EXPECT_EQ(window().ViewDocumentCount, 0);
    press(PageButton::First);
    EXPECT_EQ(window().ListView1->itemCount(), 0);
    EXPECT_TRUE(prompts_.messages().empty());
}

TEST_F(DocumentListTest, ColumnsShareTheListWidth) {
    const std::string file = installation_.buildDatabase("five.nsf", fiveColumnDatabase());
    openView(file, "Five");
    ASSERT_EQ(window().ListView1->columnCount(), 6);
    for (int column = 0; column < 6; ++column) EXPECT_EQ(window().ListView1->columnWidth(column), 100);
    EXPECT_EQ(window().ListView1->itemSubItems(0), QStringList(5, QStringLiteral("一")));
}

TEST_F(DocumentListTest, AViewThatVanishedIsReported) {
    const std::string file = installation_.buildDatabase("five.nsf", fiveColumnDatabase());
    openView(file, "Five");
    window().CurrentViewName = QStringLiteral("Gone");
    press(PageButton::First);
    ASSERT_EQ(prompts_.messages().size(), 1u);
    EXPECT_TRUE(prompts_.messages()[0].text.startsWith(QStringLiteral("读取数据出错:")));
    EXPECT_EQ(window().ListView1->itemCount(), 0);
}
