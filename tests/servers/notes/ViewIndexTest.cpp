// Building view indexes: selection, column values, sorting, redesign.
#include "ScopedTimeZone.h"
#include "TempDir.h"
#include "component/SessionObject.h"
#include "write/DatabaseWriter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace velloran::notes {
namespace {

using testing::TempDir;

write::NoteInput person(const std::string& name, const std::string& city, double age) {
    return {{}, 0, 0,
            {{"Name", kText, 0, {name}, {}}, {"City", kText, 0, {city}, {}}, {"Age", kNumber, 0, {age}, {}},
             {"Langs", kText, 0, {std::string("en"), std::string("zh")}, {}}},
            {}};
}

class ViewIndexTest : public ::testing::Test {
protected:
    write::ViewIndexReport write(const std::vector<write::ViewInput>& views) {
        write::DatabaseWriter writer(file_);
        for (const write::ViewInput& view : views) writer.addView(view);
        if (!populated_) {
            for (const auto& [name, city, age] : std::vector<std::tuple<std::string, std::string, double>>{
                     {"carol", "Beijing", 40}, {"Alice", "Beijing", 30}, {"bob", "anyang", 30}, {"Dave", "Beijing", 30}})
                writer.addNote(person(name, city, age));
            populated_ = true;
        }
        return writer.commit();
    }

    std::vector<std::string> column(const std::string& viewName, std::size_t index) {
        session_.Initialize("");
        ViewPtr view = session_.GetDatabase("", file_, false)->GetView(viewName);
        std::vector<std::string> out;
        for (DocumentPtr doc = view->GetNthDocument(1); doc; doc = view->GetNextDocument(doc))
            out.push_back(std::get<std::string>(doc->ColumnValues().at(index)));
        return out;
    }

    TempDir dir_;
    std::string file_ = dir_.file("people.nsf");
    bool populated_ = false;
    component::SessionObject session_{dir_.file("none.reg")};
};

TEST_F(ViewIndexTest, SortedColumnsOrderTheViewIgnoringCaseAndTiesKeepTheirOrder) {
    write({{"By City", {}, "", {{"City", "City", store::SortOrder::Ascending},
                                {"Age", "Age", store::SortOrder::Descending},
                                {"Name", "Name", store::SortOrder::None}}}});
    EXPECT_EQ(column("By City", 2), (std::vector<std::string>{"bob", "carol", "Alice", "Dave"}));
}

TEST_F(ViewIndexTest, SelectionAndListColumns) {
    write({{"Thirty", {}, "SELECT Age = 30 & City != \"anyang\"", {{"Name", "@UpperCase(Name)", {}},
                                                                   {"Langs", "Langs", {}}}}});
    EXPECT_EQ(column("Thirty", 0), (std::vector<std::string>{"ALICE", "DAVE"}));
    EXPECT_EQ(column("Thirty", 1), (std::vector<std::string>{"en, zh", "en, zh"}));
}

// The index keeps these texts, so they must not depend on the time zone of
// the machine that built it.
TEST_F(ViewIndexTest, DateTextsKeptInTheIndexAreInUtcWhateverTheBuildersZone) {
    testing::ScopedTimeZone zone("Asia/Shanghai");
    write({{"Dates", {}, "SELECT Name = \"bob\"", {{"Text", "@Text(@Created)", {}},
                                                     {"List", "@Created : @Created", {}}}}});
    EXPECT_EQ(column("Dates", 0), (std::vector<std::string>{"1970-01-01 00:00:00"}));
    EXPECT_EQ(column("Dates", 1), (std::vector<std::string>{"1970-01-01 00:00:00, 1970-01-01 00:00:00"}));
}

TEST_F(ViewIndexTest, ReaddingAViewReplacesItsDesignAndIndex) {
    write({{"People", {"Everyone"}, "", {{"Name", "Name", {}}}}});
    write({{"people", {}, "SELECT Name = \"bob\"", {{"City", "City", {}}}}});
    session_.Initialize("");
    DatabasePtr database = session_.GetDatabase("", file_, false);
    EXPECT_EQ(database->Views(), (StringList{"people"}));
    EXPECT_EQ(column("people", 0), (std::vector<std::string>{"anyang"}));
    EXPECT_THROW(database->GetView("Everyone"), std::exception);
}

TEST_F(ViewIndexTest, AColumnFailingForOneDocumentIsEmptyThereAndTheBuildGoesOn) {
    write::ViewIndexReport report =
        write({{"Ages", {}, "", {{"Name", "Name", {}}, {"Next", "@Text(Age + @If(Name = \"bob\"; \"x\"; 1))", {}}}}});
    EXPECT_EQ(column("Ages", 0), (std::vector<std::string>{"carol", "Alice", "bob", "Dave"}));
    EXPECT_EQ(column("Ages", 1), (std::vector<std::string>{"41", "31", "", "31"}));
    ASSERT_EQ(report.columnFailureCount, 1u);
    ASSERT_EQ(report.columnFailures.size(), 1u);
    const write::ColumnFailure& failure = report.columnFailures.front();
    EXPECT_EQ(failure.view, "Ages");
    EXPECT_EQ(failure.column, "column 2 ('Next')");
    EXPECT_EQ(failure.unid.size(), 32u);
    EXPECT_FALSE(failure.reason.empty());
    EXPECT_EQ(report.selectionFailureCount, 0u);
}

TEST_F(ViewIndexTest, DocumentsASelectionFailsForAreLeftOutAndCounted) {
    write::ViewIndexReport report = write({{"Adults", {}, "SELECT Age + @If(Name = \"bob\"; \"x\"; 0) > 35", {{"Name", "Name", {}}}}});
    EXPECT_EQ(column("Adults", 0), (std::vector<std::string>{"carol"}));
    EXPECT_EQ(report.selectionFailureCount, 1u);
    EXPECT_EQ(report.columnFailureCount, 0u);
}

// Compares 256 texts of 32 KB with 256 others, 2 GB of reading: more than
// any formula's budget, but only 8 MB of values.
const std::string kLongTexts = "t := \"x\";" + [] {
    std::string steps;
    for (int i = 0; i < 15; ++i) steps += "t := t + t;";
    steps += "l := t;";
    for (int i = 0; i < 8; ++i) steps += "l := l : l;";
    return steps;
}();
const std::string kRunaway = "(l *= l + \"y\")";

// Each document a formula runs out of its budget on is named; the view
// lacks it, the other views and the other documents are built as usual.
TEST_F(ViewIndexTest, DocumentsAFormulaRunsOutOfItsBudgetOnAreNamed) {
    write::ViewIndexReport report = write({{"Runaway", {}, kLongTexts + "SELECT " + kRunaway + " | Age = 40", {{"Name", "Name", {}}}},
                                           {"Thirty", {}, "SELECT Age = 30", {{"Name", "Name", {}}, {"Big", kLongTexts + kRunaway, {}}}}});
    EXPECT_EQ(column("Runaway", 0), std::vector<std::string>{});
    EXPECT_EQ(column("Thirty", 0), (std::vector<std::string>{"Alice", "bob", "Dave"}));
    EXPECT_EQ(column("Thirty", 1), (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(report.budgetStopCount, 7u);
    ASSERT_EQ(report.budgetStops.size(), 7u);
    EXPECT_EQ(report.budgetStops[0].view, "Runaway");
    EXPECT_EQ(report.budgetStops[0].formula, "its selection formula");
    EXPECT_EQ(report.budgetStops[1].view, "Runaway");
    EXPECT_EQ(report.budgetStops[2].formula, "column 2 ('Big')");
    EXPECT_EQ(report.budgetStops[1].unid, report.budgetStops[2].unid);
    EXPECT_NE(report.budgetStops[0].unid, report.budgetStops[1].unid);
    EXPECT_EQ(report.selectionFailureCount, 0u);
    EXPECT_EQ(report.columnFailureCount, 0u);
    EXPECT_TRUE(report.givenUpViews.empty());
    EXPECT_FALSE(report.complete());
}

// A formula that runs away on every document would cost its whole budget
// for each: the view is given up, empty, at the tenth time.
TEST_F(ViewIndexTest, AViewIsGivenUpWhenItsFormulasRunOutOfTheirBudgetTenTimes) {
    std::vector<store::ViewColumn> columns(5, {"Big", kLongTexts + kRunaway, {}});
    write::ViewIndexReport report = write({{"Runaway", {}, "", columns}, {"All", {}, "", {{"Name", "Name", {}}}}});
    EXPECT_EQ(report.budgetStopCount, 10u) << "the third and fourth documents are not evaluated";
    ASSERT_EQ(report.givenUpViews.size(), 1u);
    EXPECT_EQ(report.givenUpViews[0].view, "Runaway");
    EXPECT_THAT(report.givenUpViews[0].reason, ::testing::HasSubstr("10 times"));
    EXPECT_EQ(column("Runaway", 0), std::vector<std::string>{});
    EXPECT_EQ(column("All", 0), (std::vector<std::string>{"carol", "Alice", "bob", "Dave"}));
}

TEST_F(ViewIndexTest, AFormulaThatCannotBeReadStopsTheBuild) {
    EXPECT_THROW(write({{"Bad", {}, "SELECT (", {}}}), std::exception);
    EXPECT_THROW(write({{"Bad", {}, "", {{"Unknown", "@NoSuchFunction(1)", {}}}}}), std::exception);
    EXPECT_FALSE(std::filesystem::exists(file_)) << "nothing was written";
}

}  // namespace
}  // namespace velloran::notes
