#include "BrowseFixture.h"

#include "DocumentDetails.h"
#include "ListView.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>
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
            rows_ << grid.headerText(0) + "=" + grid.headerText(1);
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
    EXPECT_EQ(rows_[12], "F1=second F1") << "a second item of one name shows its own value";
}

TEST_F(DocumentDetailsTest, RawDataShowsAsBinaryData) {
    openAndSelect();
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file_.c_str(), &db), SQLITE_OK);
    const int rc = sqlite3_exec(db, "UPDATE items SET type = 0 WHERE name = 'F9'", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    ASSERT_EQ(rc, SQLITE_OK);
    recordGrid();
    window().ToolButton11->trigger();
    ASSERT_EQ(rows_.size(), 13);
    EXPECT_EQ(rows_[9], QStringLiteral("F9=(二进制数据)"));
    EXPECT_EQ(rows_[8], "F8=v8");
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

namespace {

// Drags the right edge of the section `by` pixels to the right, as a person
// widening the column would.
void dragSectionEdge(QHeaderView& header, int section, int by) {
    const QPoint edge(header.sectionViewportPosition(section) + header.sectionSize(section) - 1, header.height() / 2);
    const auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, header.viewport()->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(header.viewport(), &event);
    };
    send(QEvent::MouseButtonPress, edge, Qt::LeftButton);
    send(QEvent::MouseMove, edge + QPoint(by, 0), Qt::LeftButton);
    send(QEvent::MouseButtonRelease, edge + QPoint(by, 0), Qt::NoButton);
    QApplication::processEvents();
}

}  // namespace

TEST(DocumentDetailsWindow, HeaderAndNamesStayInSightWhileScrolling) {
    QStringList names;
    QStringList values;
    for (int i = 1; i <= 200; ++i) {
        names << QStringLiteral("Item%1").arg(i);
        values << QStringLiteral("value %1 ").arg(i).repeated(40);
    }
    TfrmdocDetail window;
    EXPECT_FALSE(window.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    window.fill(names, values);
    window.show();
    QApplication::processEvents();
    QTableWidget& grid = *window.StringGrid1;
    ASSERT_EQ(grid.rowCount(), 200);

    grid.scrollToBottom();
    EXPECT_TRUE(grid.horizontalHeader()->isVisibleTo(&grid)) << "the header row stays above the rows";
    EXPECT_EQ(window.headerText(0), QStringLiteral("文档域名"));
    EXPECT_EQ(window.headerText(1), QStringLiteral("域值"));
    EXPECT_GT(grid.rowAt(0), 0) << "the rows did scroll";

    dragSectionEdge(*grid.horizontalHeader(), 1, 3000);
    EXPECT_EQ(grid.columnWidth(0), 64);
    EXPECT_EQ(grid.columnWidth(1), 248) << "the columns keep their widths";
    grid.horizontalScrollBar()->setValue(grid.horizontalScrollBar()->maximum());
    EXPECT_EQ(grid.columnViewportPosition(0), 0) << "the names never scroll out of sight";
    EXPECT_LE(grid.columnViewportPosition(1) + grid.columnWidth(1), grid.viewport()->width());
}

TEST(DocumentDetailsWindow, LongNamesAndValuesReadInFullAsTooltips) {
    const QString name = QStringLiteral("一个非常非常长的域名").repeated(5);
    const QString value = QStringLiteral("a long value ").repeated(50);
    TfrmdocDetail window;
    window.fill({name}, {value});
    EXPECT_EQ(window.StringGrid1->item(0, 0)->toolTip(), name);
    EXPECT_EQ(window.StringGrid1->item(0, 1)->toolTip(), value);
}
