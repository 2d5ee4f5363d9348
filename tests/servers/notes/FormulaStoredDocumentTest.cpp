// Formula functions that read a stored document as a whole, evaluated by
// the view index the way every column formula is.
#include "TempDir.h"
#include "component/SessionObject.h"
#include "write/DatabaseWriter.h"

#include <gtest/gtest.h>

namespace velloran::notes {
namespace {

using testing::TempDir;

// The column values of the one document of a view with these columns.
ValueList columnsOf(const TempDir& dir, std::vector<write::ItemInput> items, std::vector<store::ViewColumn> columns) {
    std::string file = dir.file("doc.nsf");
    write::DatabaseWriter writer(file);
    writer.addView({"All", {}, "", std::move(columns)});
    writer.addNote({{}, 0, 0, std::move(items), {{"a.txt", {write::ObjectSource::Kind::Bytes, {}, "12345", 0}}}});
    writer.commit();
    component::SessionObject session{dir.file("no-registry.reg")};
    session.Initialize("");
    return session.GetDatabase("", file, false)->GetView("All")->GetNthDocument(1)->ColumnValues();
}

TEST(FormulaStoredDocumentTest, AuthorsComeFromAuthorItemsBeforeFrom) {
    TempDir dir;
    ValueList values = columnsOf(dir,
                                 {{"From", kNames, 0, {std::string("Sender")}, {}},
                                  {"Owners", kAuthors, 0, {std::string("Ann"), std::string("Bo")}, {}},
                                  {"Editors", kAuthors, 0, {std::string("Cy")}, {}}},
                                 {{"Authors", "@Implode(@Author; \",\")", store::SortOrder::None}});
    EXPECT_EQ(values, ValueList{std::string("Ann,Bo,Cy")});
}

TEST(FormulaStoredDocumentTest, LengthCountsItemsAndAttachments) {
    TempDir dir;
    // "Subject" (7) + "hello" (5) + "N" (1) + a number (8), the attachment's
    // item "$FILE" (5) + "a.txt" (5) and its 5 bytes.
    ValueList values = columnsOf(dir, {{"Subject", kText, 0, {std::string("hello")}, {}}, {"N", kNumber, 0, {1.0}, {}}},
                                 {{"Length", "@DocLength", store::SortOrder::None},
                                  {"Author", "@Author", store::SortOrder::None}});
    EXPECT_EQ(values, (ValueList{36.0, std::string()}));
}

}  // namespace
}  // namespace velloran::notes
