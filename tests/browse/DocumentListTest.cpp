#include "BrowseFixture.h"

#include "DocumentList.h"
#include "ListView.h"
#include "QStringPrinter.h"

#include <QApplication>
#include <QCoreApplication>
#include <QScrollBar>
#include <QKeyEvent>
#include <QLoggingCategory>
#include <QTreeWidget>

#include <gtest/gtest.h>
#include <sqlite3.h>

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

// Takes one entry out of a view's index, as a damaged file would lack it.
void removeViewEntry(const std::string& file, const std::string& view, int position) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    const std::string sql = "DELETE FROM view_entries WHERE position = " + std::to_string(position) +
                            " AND view_id = (SELECT view_id FROM views WHERE name = '" + view + "')";
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    const int removed = sqlite3_changes(db);
    sqlite3_close(db);
    ASSERT_EQ(rc, SQLITE_OK);
    ASSERT_EQ(removed, 1);
}

// Collects what the browse diagnostics channel says while it lives.
class BrowseDiagnostics {
public:
    BrowseDiagnostics() { previous_ = qInstallMessageHandler(&BrowseDiagnostics::collect); }
    ~BrowseDiagnostics() { qInstallMessageHandler(previous_); }
    static QStringList& lines() {
        static QStringList collected;
        return collected;
    }

private:
    static void collect(QtMsgType, const QMessageLogContext& context, const QString& text) {
        if (context.category && QByteArray(context.category) == "velloran.browse") lines() << text;
    }
    QtMessageHandler previous_;
};

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

// Keeps the texts the wait window is given.
class WaitTexts : public platform::WaitIndicator {
public:
    void ShowWait() override {}
    void ShowWaitMsg(const QString& text) override { texts << text; }
    void SetWaitMsg(const QString& text) override { texts << text; }
    void SetWaitProgress(int, int) override {}
    void CloseWait() override {}
    QStringList texts;
};

}  // namespace

// While a page loads, the counter reads one more than the rows listed.
TEST_F(DocumentListTest, ThePageLoadCounterReadsOneMoreThanTheRowsListed) {
    const std::string file = installation_.generateDatabase("g3.nsf", 3);
    openView(file, "All");
    WaitTexts wait;
    browse::DocumentList list({window(), *window().TreeView1, *window().ListView1, prompts_, wait, [](const QString&) {}});
    window().ReadPosition = 0;
    list.LoadViewPage(*window().CurrentDatabase, QStringLiteral("All"));
    const QString reading = QStringLiteral("正在读入前100条文档数据...");
    EXPECT_EQ(wait.texts, QStringList({reading, reading + "2/3", reading + "3/3", reading + "4/3"}));
}

TEST_F(DocumentListTest, PagesThroughTwoHundredAndFiftyDocuments) {
    const std::string file = installation_.generateDatabase("g250.nsf", 250);
    openView(file, "All");
    EXPECT_EQ(rowCaptions(), unids(file, "All", 1, 100));
    EXPECT_EQ(window().ViewDocumentCount, 250);
    EXPECT_EQ(window().ReadPosition, 100);
    EXPECT_EQ(window().statusPanelText(1), QStringLiteral("视图：All(All) 共有文档:250  显示:1-100"));
    EXPECT_EQ(window().ListView1->columnCaption(0), QStringLiteral("文档ID"));
    EXPECT_EQ(window().ListView1->itemSubItems(0).size(), window().ListView1->columnCount() - 1);

    press(PageButton::Next);
    EXPECT_EQ(rowCaptions(), unids(file, "All", 101, 200));
    press(PageButton::Next);
    EXPECT_EQ(rowCaptions(), unids(file, "All", 201, 250));
    EXPECT_EQ(window().statusPanelText(1), QStringLiteral("视图：All(All) 共有文档:250  显示:201-250"));
    press(PageButton::Next);
    EXPECT_EQ(rowCaptions(), unids(file, "All", 201, 250)) << "nothing left to read";
    press(PageButton::Last);
    EXPECT_EQ(rowCaptions(), unids(file, "All", 201, 250)) << "the last page is already shown";
    press(PageButton::Previous);
    EXPECT_EQ(rowCaptions(), unids(file, "All", 101, 200));
    EXPECT_EQ(window().statusPanelText(1), QStringLiteral("视图：All(All) 共有文档:250  显示:101-200"));
    press(PageButton::Last);
    EXPECT_EQ(rowCaptions(), unids(file, "All", 201, 250));
    press(PageButton::First);
    EXPECT_EQ(rowCaptions(), unids(file, "All", 1, 100));
    EXPECT_TRUE(prompts_.messages().empty());
}

TEST_F(DocumentListTest, LastAndPreviousOnTwoThousandSixHundred) {
    const std::string file = installation_.generateDatabase("g2600.nsf", 2600);
    openView(file, "All");
    press(PageButton::Last);
    EXPECT_EQ(rowCaptions(), unids(file, "All", 2501, 2600));
    EXPECT_EQ(window().statusPanelText(1), QStringLiteral("视图：All(All) 共有文档:2600  显示:2501-2600"));
    press(PageButton::Previous);
    EXPECT_EQ(rowCaptions(), unids(file, "All", 2401, 2500));
}

TEST_F(DocumentListTest, EmptyViewShowsHeadersOnlyAndItsOwnStatus) {
    const std::string file = installation_.buildDatabase("five.nsf", fiveColumnDatabase());
    openView(file, "Five");
    EXPECT_EQ(window().statusPanelText(1), QStringLiteral("视图：Five(Five) 共有文档:1  显示:1-1"));
    click({"Nothing"});
    EXPECT_EQ(window().statusPanelText(1), QStringLiteral("视图：Nothing(Nothing) 共有文档:0"));
    EXPECT_EQ(window().ListView1->columnCount(), 6);
    EXPECT_EQ(window().ListView1->itemCount(), 0);
    EXPECT_EQ(window().ViewDocumentCount, 0);
    press(PageButton::First);
    EXPECT_EQ(window().ListView1->itemCount(), 0);
    EXPECT_TRUE(prompts_.messages().empty());
}

TEST_F(DocumentListTest, PagingButtonsAreEnabledOnlyWhereTheyShowAnotherPage) {
    const std::string file = installation_.generateDatabase("g250.nsf", 250);
    openView(file, "All");
    // The page moved to, and whether 首页, 上一页, 下一页, 尾页 are enabled there.
    const struct {
        std::optional<PageButton> press;
        std::vector<bool> enabled;
    } steps[] = {
        {std::nullopt, {false, false, true, true}},
        {PageButton::Next, {true, true, true, true}},
        {PageButton::Last, {true, true, false, false}},
        {PageButton::First, {false, false, true, true}},
    };
    for (const auto& step : steps) {
        if (step.press) press(*step.press);
        const std::vector<bool> enabled = {window().ToolButton7->isEnabled(), window().ToolButton8->isEnabled(),
                                           window().ToolButton9->isEnabled(), window().ToolButton10->isEnabled()};
        EXPECT_EQ(enabled, step.enabled) << window().statusPanelText(1).toStdString();
    }
}

TEST_F(DocumentListTest, EnterOnARowOpensItsDetails) {
    const std::string file = installation_.buildDatabase("five.nsf", fiveColumnDatabase());
    openView(file, "Five");
    window().ListView1->selectItem(0);
    int shown = 0;
    answerDialog([&](QDialog&) { ++shown; });
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(window().ListView1->reportWidget(), &enter);
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(prompts_.messages().empty());
}

TEST_F(DocumentListTest, AFullPageScrollsDownOnly) {
    const std::string file = installation_.generateDatabase("g250.nsf", 250);
    window().show();
    openView(file, "All");
    QApplication::processEvents();
    QTreeWidget& list = *window().ListView1->reportWidget();
    EXPECT_TRUE(list.verticalScrollBar()->isVisible());
    EXPECT_FALSE(list.horizontalScrollBar()->isVisible()) << "the columns leave room for the vertical scroll bar";
}

TEST_F(DocumentListTest, ColumnsShareTheListWidth) {
    const std::string file = installation_.buildDatabase("five.nsf", fiveColumnDatabase());
    openView(file, "Five");
    ASSERT_EQ(window().ListView1->columnCount(), 6);
    const int width = window().ListView1->columnWidth(0);
    EXPECT_GT(width, 90) << "the list is 600 wide";
    for (int column = 1; column < 6; ++column) EXPECT_EQ(window().ListView1->columnWidth(column), width);
    EXPECT_EQ(window().ListView1->itemSubItems(0), QStringList(5, QStringLiteral("一")));
}

TEST_F(DocumentListTest, AViewThatVanishedIsReported) {
    const std::string file = installation_.buildDatabase("five.nsf", fiveColumnDatabase());
    openView(file, "Five");
    window().CurrentViewName = QStringLiteral("Gone");
    press(PageButton::First);
    ASSERT_EQ(prompts_.messages().size(), 1u);
    EXPECT_TRUE(prompts_.messages()[0].text.startsWith(QStringLiteral("读取数据出错:无法打开视图“Gone”：数据库 ")));
    EXPECT_TRUE(prompts_.messages()[0].text.endsWith(QStringLiteral("中没有名为“Gone”的视图")));
    EXPECT_EQ(window().ListView1->itemCount(), 0);
    EXPECT_TRUE(window().statusPanelText(1).isEmpty());
    EXPECT_TRUE(window().CurrentViewName.isEmpty()) << "export and paging no longer act on it";
    EXPECT_FALSE(window().ToolButton7->isEnabled());
}

TEST_F(DocumentListTest, AnUnreadableFirstEntryIsReportedWithItsReason) {
    const std::string file = installation_.buildDatabase("five.nsf", fiveColumnDatabase());
    removeViewEntry(file, "Five", 1);
    BrowseDiagnostics::lines().clear();
    const BrowseDiagnostics diagnostics;
    openView(file, "Five");
    ASSERT_EQ(prompts_.messages().size(), 1u);
    const QString& message = prompts_.messages()[0].text;
    EXPECT_TRUE(message.startsWith(QStringLiteral("读取数据出错:视图“Five”的第1条文档无法读取："))) << message.toStdString();
    EXPECT_TRUE(message.endsWith(QStringLiteral("中视图 Five 的索引已损坏"))) << message.toStdString();
    ASSERT_EQ(BrowseDiagnostics::lines().size(), 1);
    EXPECT_TRUE(BrowseDiagnostics::lines()[0].contains(QStringLiteral("索引已损坏")))
        << BrowseDiagnostics::lines()[0].toStdString();
    EXPECT_EQ(window().ListView1->itemCount(), 0);
    EXPECT_EQ(window().statusPanelText(1), QStringLiteral("视图：Five(Five) 共有文档:1"));
}

TEST_F(DocumentListTest, ADamagedEntryInsideAPageKeepsTheRowsBeforeItAndTheOtherPages) {
    const std::string file = installation_.generateDatabase("g250.nsf", 250);
    removeViewEntry(file, "All", 150);
    openView(file, "All");
    press(PageButton::Next);
    EXPECT_EQ(rowCaptions(), unids(file, "All", 101, 149));
    ASSERT_EQ(prompts_.messages().size(), 1u);
    EXPECT_TRUE(prompts_.messages()[0].text.startsWith(QStringLiteral("读取数据出错:视图“All”的第150条文档无法读取：")));
    EXPECT_EQ(window().statusPanelText(1), QStringLiteral("视图：All(All) 共有文档:250  显示:101-149"));
    press(PageButton::Next);
    EXPECT_EQ(rowCaptions(), unids(file, "All", 201, 250)) << "the next page starts after the damaged one";
}
