#include "BrowseFixture.h"

#include "DocumentDetails.h"
#include "ListView.h"

#include <gtest/gtest.h>

#include <QTableWidget>
#include <QTreeWidget>

using namespace velloran;
using browse::TfrmdocDetail;
using velloran::testing::BrowseFixture;

namespace {

constexpr const char* kUnid = "0123456789ABCDEF0123456789ABCDEF";

nlohmann::json detailDatabase() {
    nlohmann::json items = nlohmann::json::array();
    for (int i = 1; i <= 9; ++i) {
        std::string number = std::to_string(i);
        items.push_back({{"name", std::string("F").append(number)}, {"value", std::string("v").append(number)}});
    }
    items.push_back({{"name", "Tags"}, {"values", {"a", "b", "c"}}});
    items.push_back({{"name", "Amount"}, {"type", "number"}, {"value", 3.5}});
    items.push_back({{"name", "F1"}, {"value", "second F1"}});
    return {{"views", {{{"name", "All"}, {"columns", {{{"title", "F1"}, {"formula", "F1"}}}}}}},
            {"documents", {{{"unid", kUnid}, {"items", items}}}}};
}

class DocumentDetailsTest : public BrowseFixture {
protected:
    // Opens the file, lists the view and selects the one row.
    void openAndSelect() {
        file_ = installation_.buildDatabase("detail.nsf", detailDatabase());
        prompts_.answerOpenFile(QString::fromStdString(file_));
        window().openfile->trigger();
        click({"All"});
        window().ListView1->selectItem(0);
    }
    // Records what the details window showed.
    void recordGrid() {
        answerDialog([this](QDialog& dialog) {
            auto& grid = static_cast<TfrmdocDetail&>(dialog);
            for (int row = 0; row < grid.rowCount(); ++row) rows_ << grid.cell(row, 0) + "=" + grid.cell(row, 1);
        });
    }

    std::string file_;
    QStringList rows_;
};

}  // namespace

TEST_F(DocumentDetailsTest, EveryItemShowsItsFirstValueUnderTheHeader) {
    openAndSelect();
    recordGrid();
    window().ToolButton11->trigger();
    ASSERT_TRUE(prompts_.messages().empty()) << prompts_.messages()[0].text.toStdString();
    ASSERT_EQ(rows_.size(), 13);
    EXPECT_EQ(rows_[0], QStringLiteral("文档域名=域值"));
    EXPECT_EQ(rows_[1], "F1=v1");
    EXPECT_EQ(rows_[10], "Tags=a");
    EXPECT_EQ(rows_[11], "Amount=3.5");
    EXPECT_EQ(rows_[12], "F1=v1") << "a second item of one name shows what GetItemValue gives for it";
}

TEST_F(DocumentDetailsTest, FileModeOpensTheFileLocallyWhateverTheServer) {
    openAndSelect();
    window().ServerName = QStringLiteral("NoSuchServer/Nowhere");
    recordGrid();
    emit window().ListView1->itemDoubleClicked();
    EXPECT_EQ(rows_.size(), 13);
    EXPECT_TRUE(prompts_.messages().empty());
}

TEST_F(DocumentDetailsTest, NothingHappensWithoutOneSelectedDocumentRow) {
    openAndSelect();
    window().ListView1->reportWidget()->clearSelection();
    window().ToolButton11->trigger();
    window().ListView1->setStyle(browse::ListView::Style::Icon);
    window().ListView1->selectItem(0);
    window().ToolButton11->trigger();
    EXPECT_TRUE(dialogAnswers_.empty());
    EXPECT_TRUE(prompts_.messages().empty());
}

TEST_F(DocumentDetailsTest, ADocumentThatCannotBeFoundGoesToTheErrorReport) {
    openAndSelect();
    std::filesystem::remove(file_);
    installation_.buildDatabase("detail.nsf", {{"documents", nlohmann::json::array()}});
    window().ToolButton11->trigger();
    ASSERT_EQ(prompts_.messages().size(), 1u);
    EXPECT_EQ(prompts_.messages()[0].icon, platform::MessageIcon::Error);
}
