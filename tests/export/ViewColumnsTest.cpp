// The export under the view rule: the view's own columns, each cell the
// text the document list shows for the same document, while the files
// beside the workbook stay those of the items rule.
#include "ExportFixture.h"
#include "XlrdReader.h"
#include "workbook/TypedCell.h"

#include "DocumentList.h"
#include "ListView.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QTreeWidget>

#include <gmock/gmock.h>

using namespace velloran;
using namespace velloran::exporting;
using velloran::testing::ExportFixture;
using velloran::testing::findCell;
using velloran::testing::readWithXlrd;
using velloran::testing::runPythonOn;
using nlohmann::json;

namespace {

// Computed columns of every kind the list turns into text: text, number,
// date-time and date; the third document lacks Due.
json orders() {
    return json::parse(R"json({
      "views": [ {"name": "Orders", "columns": [
          {"title": "Customer", "formula": "@UpperCase(Customer) + \"!\"", "sort": "ascending"},
          {"title": "Double", "formula": "Amount * 2"},
          {"title": "Created", "formula": "@Created"},
          {"title": "Due", "formula": "Due"},
          {"title": "2019", "formula": "@Text(Amount / 3)"} ]} ],
      "documents": [
        {"unid": "000000000000000000000000000000C1", "created": "2024-01-31T09:30:15Z", "items": [
           {"name": "Customer", "value": "acme"}, {"name": "Amount", "type": "number", "value": 50000},
           {"name": "Due", "type": "datetime", "value": "2024-03-05"},
           {"name": "Body", "type": "richtext", "paragraphs": [["see ", {"object": "plan.txt"}]],
            "objects": [{"name": "plan.txt", "base64": "cGxhbg=="}]} ],
         "attachments": [ {"name": "a.doc", "base64": "YQ=="} ]},
        {"unid": "000000000000000000000000000000C2", "created": "2023-12-01", "items": [
           {"name": "Customer", "value": "北方"}, {"name": "Amount", "type": "number", "value": 0.15},
           {"name": "Due", "type": "datetime", "value": "2024-02-29T23:59:00Z"} ]},
        {"unid": "000000000000000000000000000000C3", "created": "2022-06-30T12:00:00Z", "items": [
           {"name": "Customer", "value": "zeta"}, {"name": "Amount", "type": "number", "value": 1} ]}
      ]})json");
}

std::string cellText(const json& sheet, int row, int column) {
    const json* cell = findCell(sheet, row, column);
    return cell && (*cell)[2].is_string() ? (*cell)[2].get<std::string>() : std::string();
}

QStringList filesUnder(const QString& folder) {
    QStringList found;
    QDirIterator files(folder, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) found << QDir(folder).relativeFilePath(files.next());
    found.sort();
    return found;
}

}  // namespace

class ViewColumnsTest : public ExportFixture {
protected:
    void SetUp() override {
        registerSpreadsheet();
        openDatabase(orders(), QStringLiteral("Orders"));
    }

    ExportOutcome exportWith(ColumnRule rule, const QString& name) {
        ExportRequest request = requestFrom(state, out() + name);
        request.columns = rule;
        return exporter().ExportToWorkbook(request);
    }

    // The rows the document list shows for the view: the universal ID, then
    // the column texts.
    std::vector<QStringList> listedRows() {
        QTreeWidget tree;
        browse::ListView list;
        domino::BrowseState listing;
        listing.CurrentDatabase = std::move(state.CurrentDatabase);
        browse::DocumentList({listing, tree, list, prompts, wait, [](const QString&) {}})
            .LoadViewPage(*listing.CurrentDatabase, state.CurrentViewName);
        state.CurrentDatabase = std::move(listing.CurrentDatabase);
        std::vector<QStringList> rows;
        for (int i = 0; i < list.itemCount(); ++i) rows.push_back(QStringList{list.itemCaption(i)} + list.itemSubItems(i));
        return rows;
    }
};

TEST_F(ViewColumnsTest, TheCellsAreTheColumnTitlesAndTheTextsTheListShows) {
    ASSERT_TRUE(exportWith(ColumnRule::View, QStringLiteral("view")).completed());
    const json sheet = this->sheet(workbook("1", QStringLiteral("view")));

    const std::vector<std::string> header = {"文档ID", "Customer", "Double", "Created", "Due", "2019"};
    ASSERT_EQ(sheet["rows"], 4);
    for (int column = 0; column < 6; ++column) EXPECT_EQ(cellText(sheet, 0, column), header[column]) << column;
    EXPECT_EQ((*findCell(sheet, 0, 5))[3], "@") << "an integer-like title is text, as an item name is";

    const std::vector<QStringList> listed = listedRows();
    ASSERT_EQ(listed.size(), 3u);
    for (int row = 0; row < 3; ++row) {
        ASSERT_EQ(listed[row].size(), 6) << "the list shows every column";
        for (int column = 0; column < 6; ++column)
            EXPECT_EQ(QString::fromStdString(cellText(sheet, row + 1, column)), listed[row][column]) << row << "," << column;
    }
    // The list's own forms, so that a list gone blank would not pass.
    EXPECT_EQ(listed[0].mid(0, 3), QStringList({"000000000000000000000000000000C1", "ACME!", "100000"}));
    EXPECT_EQ(listed[0][4], "2024-03-05");
    EXPECT_EQ(listed[1][4], "") << "no Due, an empty cell";
    EXPECT_EQ(listed[2].mid(1, 2), QStringList({"北方!", "0.3"}));
}

// Typed cells: numbers and dates as the spreadsheet's own, read back by
// readers we did not write; texts, and values given as text by a formula,
// stay text.
TEST_F(ViewColumnsTest, TypedCellsAreNumbersAndDatesInEveryFormat) {
    const auto exported = [&](ColumnRule rule, const QString& name) {
        ExportRequest request = requestFrom(state, out() + name);
        request.columns = rule;
        request.typedCells = true;
        EXPECT_TRUE(exporter().ExportToWorkbook(request).completed());
        return (out() + QFileInfo(name).completeBaseName() + QStringLiteral("_开始为第1个文档.") +
                QFileInfo(name).suffix()).toStdString();
    };
    // Row 1 is C1: ACME!, 100000, its creation, 2024-03-05, 16666.6666666667.
    const std::string xls = exported(ColumnRule::View, QStringLiteral("typed.xls"));
    const json fromXls = readWithXlrd(xls)["sheets"][0];
    EXPECT_EQ((*findCell(fromXls, 1, 1))[2], "ACME!");
    EXPECT_EQ((*findCell(fromXls, 1, 2))[2], 100000.0);
    EXPECT_EQ((*findCell(fromXls, 1, 3))[3], "yyyy-mm-dd hh:mm:ss") << "a moment with its time";
    EXPECT_EQ((*findCell(fromXls, 1, 4))[2], "2024-03-05T00:00:00");
    EXPECT_EQ((*findCell(fromXls, 1, 4))[3], "yyyy-mm-dd") << "a date alone, without a time";
    EXPECT_EQ((*findCell(fromXls, 1, 5))[2], "16666.6666666667") << "@Text gives text";
    EXPECT_EQ(findCell(fromXls, 2, 4), nullptr) << "no Due, no cell";

    const json fromXlsx = runPythonOn(VELLORAN_XLSX_DUMP, exported(ColumnRule::View, QStringLiteral("typed.xlsx")));
    EXPECT_EQ((*findCell(fromXlsx["sheets"][0], 1, 2))[2], 100000);
    EXPECT_EQ((*findCell(fromXlsx["sheets"][0], 1, 4))[2], "2024-03-05T00:00:00");
    EXPECT_EQ((*findCell(fromXlsx["sheets"][0], 1, 4))[3], "yyyy-mm-dd");

    const json fromCsv = runPythonOn(VELLORAN_CSV_DUMP, exported(ColumnRule::View, QStringLiteral("typed.csv")));
    EXPECT_THAT(fromCsv["cells"], ::testing::Contains(json::array({1, 2, "100000"})));
    EXPECT_THAT(fromCsv["cells"], ::testing::Contains(json::array({1, 4, "2024-03-05"})));

    // The items rule: the Amount item is a number; the customer stays text.
    const json items = readWithXlrd(exported(ColumnRule::Items, QStringLiteral("items.xls")))["sheets"][0];
    EXPECT_EQ((*findCell(items, 0, 2))[2], "Amount");
    EXPECT_EQ((*findCell(items, 1, 2))[2], 50000.0);
    EXPECT_EQ((*findCell(items, 1, 1))[2], "acme");
}

// A time without a date has no date number: its cell stays the text the
// list shows, not a day of 1970. A date without a time is a date, not
// midnight.
TEST(TypedCellTest, ATimeWithoutADateStaysTextAndADateWithoutATimeIsADate) {
    EXPECT_EQ(typedCellOf(notes::DateTime{45'000'000, true, false}).kind, TypedCell::Kind::Text);
    EXPECT_EQ(typedCellOf(notes::DateTime{1'709'251'200'000, false}).kind, TypedCell::Kind::Date);
    EXPECT_EQ(typedCellOf(notes::DateTime{1'709'251'200'000, true}).kind, TypedCell::Kind::DateTime);
}

TEST_F(ViewColumnsTest, AttachmentsAndObjectsAreSavedAsUnderTheItemsRuleAndEachCellIsLogged) {
    ASSERT_TRUE(exportWith(ColumnRule::Items, QStringLiteral("items")).completed());
    const QStringList itemFiles = filesUnder(out() + QStringLiteral("Orders附件"));
    QDir(out() + QStringLiteral("Orders附件")).removeRecursively();
    const int itemLines = static_cast<int>(logLines().size());

    ASSERT_TRUE(exportWith(ColumnRule::View, QStringLiteral("view")).completed());
    EXPECT_EQ(filesUnder(out() + QStringLiteral("Orders附件")), itemFiles);
    EXPECT_THAT(itemFiles, ::testing::ElementsAre("000000000000000000000000000000C1/a.doc",
                                                  "000000000000000000000000000000C1/plan.txt"));

    // The last document in view order: C2, "北方" sorting after the Latin names.
    const QStringList listed = listedRows().back();
    const QString folder = out() + QStringLiteral("Orders附件/") + listed[0] + QLatin1Char('/');
    QStringList expected = {QStringLiteral("完成向excel写入第3个文档;"),
                            QStringLiteral("调用图片导出程序保存到:") + folder + QStringLiteral(" ;"),
                            QStringLiteral("结束图片导出程序保存到:") + folder + QStringLiteral(" ;")};
    for (const QString& text : listed.mid(1))
        expected << QStringLiteral("  s=s+") + text + QLatin1Char(';') << QStringLiteral(" s值写入excel表 ;");
    const QStringList lines = logLines();
    EXPECT_GT(lines.size(), itemLines);
    EXPECT_EQ(lines.mid(lines.size() - expected.size()), expected);
    EXPECT_EQ(listed[1], QStringLiteral("北方!"));
    EXPECT_EQ(lines.mid(itemLines).filter(QStringLiteral("RichText域")),
              QStringList({QStringLiteral("开始分离第1个文档RichText域;"),
                           QStringLiteral("分离第1个文档RichText域到:") + out() +
                               QStringLiteral("Orders附件/000000000000000000000000000000C1/plan.txt;")}))
        << "only the rich-text item's lines";
}
