// Views as the platform's designs export them: the default view without a
// name, hidden, categorized, sorted and response-only columns, names with
// trailing blanks and hidden views in brackets.
#include "DxlImportFixture.h"
#include "component/SessionObject.h"

#include <gmock/gmock.h>

namespace velloran::tools::dxl {
namespace {

using namespace notes;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

std::string databaseXml(const std::string& notes) {
    return "<?xml version='1.0' encoding='utf-8'?>\n<!DOCTYPE database>\n"
           "<database xmlns='http://www.lotus.com/dxl' version='9.0' maintenanceversion='1.0'"
           " replicaid='852585D3002C6A1B' path='orders.nsf' title='Orders'>\n" +
           notes + "</database>\n";
}

std::string order(const std::string& unid, const std::string& category, const std::string& customer, int amount) {
    return "<document form='Order'><noteinfo noteid='" + unid.substr(28) + "' unid='" + unid +
           "' sequence='1'><created><datetime>20240301T120000,00+08</datetime></created></noteinfo>"
           "<item name='Category'><text>" + category + "</text></item><item name='Customer' summary='true'><text>" +
           customer + "</text></item><item name='Amount'><number>" + std::to_string(amount) +
           "</number></item></document>\n";
}

// The columns the platform's designer writes, with the attributes it
// always sets.
std::string column(const std::string& attributes, const std::string& title, const std::string& itemName,
                   const std::string& formula = {}) {
    return "<column " + attributes + " hidedetailrows='false' itemname='" + itemName +
           "' width='10' resizable='true' separatemultiplevalues='false' sortnoaccent='false' sortnocase='true'"
           " showaslinks='false'><columnheader title='" + title + "'><font size='9pt' style='bold'/></columnheader>" +
           (formula.empty() ? "" : "<code event='value'><formula>" + formula + "</formula></code>") + "</column>\n";
}

std::string view(const std::string& nameAttributes, const std::string& columns) {
    return "<view " + nameAttributes + " showinmenu='true' publicaccess='false' unreadmarks='none'"
           " onopengoto='lastopened' showresponsehierarchy='true'><noteinfo noteid='1a2' unid='"
           "0000000000000000000000000000AAAA' sequence='1'/>"
           "<code event='selection'><formula>SELECT @All</formula></code>\n" +
           columns + "</view>\n";
}

class DxlViewsTest : public DxlImportFixture {
protected:
    ViewPtr openView(const std::string& name) {
        session_.Initialize("");
        return session_.GetDatabase("", database_, false)->GetView(name);
    }

    std::vector<std::vector<std::string>> rows(const ViewPtr& view) {
        std::vector<std::vector<std::string>> out;
        for (DocumentPtr doc = view->GetNthDocument(1); doc; doc = view->GetNextDocument(doc)) {
            std::vector<std::string>& row = out.emplace_back();
            for (const Value& value : doc->ColumnValues()) row.push_back(std::get<std::string>(value));
        }
        return out;
    }

    notes::component::SessionObject session_{dir_.file("none.reg")};
};

// A new database's default view has no name; each such view keeps one of
// its own, as does a view whose name an earlier one has (a database keeps
// one view of a name), and the summary says which.
TEST_F(DxlViewsTest, ViewsWithoutANameOrWithATakenOneAreImportedUnderOneAndReported) {
    const std::string numberColumn = column("sort='ascending'", "#", "$0", "@DocNumber");
    ImportSummary summary = importXml(databaseXml(
        view("default='true'", numberColumn) + view("name=''", numberColumn) +
        view("name='' alias='Main'", numberColumn) + view("name=' ' alias='|Plain'", numberColumn) +
        view("name='Named'", numberColumn) + view("name='main '", numberColumn) + view("name='NAMED'", numberColumn)));
    EXPECT_EQ(summary.imported["views"], 7);
    EXPECT_EQ(summary.lost, 0);
    std::vector<std::string> names;
    for (const store::ViewDesign& design : store::ViewStore(db()).views()) names.push_back(design.name);
    EXPECT_THAT(names, ElementsAre("(Untitled)", "(Untitled 2)", "Main", "Plain", "Named", "main (2)", "NAMED (2)"));
    ASSERT_EQ(summary.renamedViews.size(), 6u);
    EXPECT_THAT(summary.renamedViews[5], HasSubstr("之前已有名为“NAMED”的视图"));
    EXPECT_THAT(summary.renamedViews[0], HasSubstr("第 4 行"));
    EXPECT_THAT(summary.renamedViews[0], HasSubstr("视图以“(Untitled)”导入"));
    EXPECT_THAT(summary.report(), HasSubstr("视图以“Main”导入"));
}

// The document list shows what a user of the platform sees: no hidden
// column, which still orders the view; categorized columns sorted, their
// value in every row.
TEST_F(DxlViewsTest, ColumnsShowAndOrderAsTheDesignSays) {
    const std::string columns =
        column("sort='ascending' categorized='true' twisties='true'", "Category", "Category") +
        column("hidden='true' sort='descending'", "Key", "Amount") + column("", "Customer", "Customer") +
        column("responsesonly='true'", "", "$3", "\"Re: \" + Customer");
    importXml(databaseXml(
        view("name='By Category ' alias='ByCategory'", columns) +
        view("name='(Lookup)|lookup'", column("categorized='true'", "Customer", "Customer")) +
        order("00000000000000000000000000000001", "Tools", "Acme", 5) +
        order("00000000000000000000000000000002", "Books", "Zed", 7) +
        order("00000000000000000000000000000003", "Tools", "Cy", 9)));

    ViewPtr byCategory = openView("By Category");
    EXPECT_EQ(byCategory->Name(), "By Category ");
    EXPECT_EQ(byCategory->ColumnCount(), 3);
    EXPECT_EQ(byCategory->ColumnNames(), (StringList{"Category", "Customer", ""}));
    EXPECT_EQ(rows(byCategory), (std::vector<std::vector<std::string>>{
                                    {"Books", "Zed", ""}, {"Tools", "Cy", ""}, {"Tools", "Acme", ""}}));
    std::vector<store::ViewColumn> stored = store::ViewStore(db()).views().at(0).columns;
    ASSERT_EQ(stored.size(), 4u);
    EXPECT_TRUE(stored[1].hidden);
    EXPECT_TRUE(stored[3].responsesOnly);

    EXPECT_EQ(rows(openView("lookup")), (std::vector<std::vector<std::string>>{{"Acme"}, {"Cy"}, {"Zed"}}));
    EXPECT_EQ(openView("(Lookup)")->ColumnNames(), (StringList{"Customer"}));
}

}  // namespace
}  // namespace velloran::tools::dxl
