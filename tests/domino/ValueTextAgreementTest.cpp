// The engine's @Text and the wrappers' text of view columns and items write
// the same value the same way.
#include "ScopedTimeZone.h"
#include "TempDir.h"
#include "ValueText.h"
#include "component/SessionObject.h"
#include "write/DatabaseWriter.h"

#include <gtest/gtest.h>

namespace velloran {
namespace {

constexpr std::int64_t kMoment = 1'796'574'605'000;  // 2026-12-06 16:30:05 UTC
constexpr std::int64_t kDate = 1'796'515'200'000;    // 2026-12-06
constexpr std::int64_t kTime = 45'000'000;           // 12:30, without a date

void writeDatabase(const std::string& file) {
    notes::write::DatabaseWriter writer(file);
    writer.addView({"All", {}, "", {{"Amount", "Amount", {}}, {"Due", "Due", {}}, {"Day", "Day", {}}, {"At", "At", {}}}});
    writer.addNote({{}, 0, 0,
                    {{"Amount", notes::kNumber, 0, {100000.0}, {}},
                     {"Due", notes::kDateTime, 0, {notes::DateTime{kMoment, true}}, {}},
                     {"Day", notes::kDateTime, 0, {notes::DateTime{kDate, false}}, {}},
                     {"At", notes::kDateTime, 0, {notes::DateTime{kTime, true, false}}, {}}},
                    {}});
    writer.commit();
}

TEST(ValueTextAgreement, ViewColumnsAndAtTextShowANumberADateAndATimeAlike) {
    testing::ScopedTimeZone zone("Asia/Shanghai");
    testing::TempDir dir;
    const std::string file = dir.file("values.nsf");
    writeDatabase(file);
    notes::component::SessionObject session(dir.file("none.reg"));
    session.Initialize("");
    const notes::DocumentPtr document = session.GetDatabase("", file, false)->GetView("All")->GetNthDocument(1);

    const QStringList columns = domino::valuesToTexts(document->ColumnValues());
    EXPECT_EQ(columns, QStringList({"100000", "2026-12-07 00:30:05", "2026-12-06", "12:30:00"}));
    EXPECT_EQ(domino::valuesToTexts(session.Evaluate("@Text(Amount : Due : Day : At)", document)), columns);
    EXPECT_EQ(domino::valueToText(document->GetItemValue("Due").at(0)), columns.at(1));
}

}  // namespace
}  // namespace velloran
