// Views over response documents: @IsResponseDoc, the responses a selection
// reaches with @AllChildren and @AllDescendants, response-only columns.
#include "TempDir.h"
#include "component/SessionObject.h"
#include "text/Utf8.h"
#include "write/DatabaseWriter.h"

#include <gtest/gtest.h>

namespace velloran::notes {
namespace {

using testing::TempDir;

// A document's universal id made from its subject (hexadecimal letters), so
// links read plainly.
std::string unidOf(const std::string& subject) { return subject + std::string(32 - subject.size(), '0'); }

write::NoteInput document(const std::string& subject, const std::string& form, const std::string& parent = {}) {
    write::NoteInput note{
        unidOf(subject), 0, 0, {{"Subject", kText, 0, {subject}, {}}, {"Form", kText, 0, {form}, {}}}, {}};
    if (!parent.empty()) note.items.push_back({"$REF", kNoteRefs, 0, {parent}, {}});
    return note;
}

class ResponseViewTest : public ::testing::Test {
protected:
    // Main documents A and B; A's response AB, AB's ABB, ABB's ABBB; B's
    // response BB, which names its parent in lower case; C and D answer
    // each other; E answers a document that is not there.
    void write(const std::vector<write::ViewInput>& views) {
        write::DatabaseWriter writer(file_);
        for (const write::ViewInput& view : views) writer.addView(view);
        for (const write::NoteInput& note :
             {document("A", "Main"), document("AB", "Reply", unidOf("A")), document("ABB", "Reply", unidOf("AB")),
              document("ABBB", "Reply", unidOf("ABB")), document("B", "Main"),
              document("BB", "Reply", text::lower(unidOf("B"))), document("C", "Loop", unidOf("D")),
              document("D", "Loop", unidOf("C")), document("E", "Reply", unidOf("F"))})
            writer.addNote(note);
        writer.commit();
    }

    std::vector<std::vector<std::string>> rows(const std::string& viewName) {
        session_.Initialize("");
        ViewPtr view = session_.GetDatabase("", file_, false)->GetView(viewName);
        std::vector<std::vector<std::string>> out;
        for (DocumentPtr doc = view->GetNthDocument(1); doc; doc = view->GetNextDocument(doc)) {
            std::vector<std::string>& row = out.emplace_back();
            for (const Value& value : doc->ColumnValues()) row.push_back(std::get<std::string>(value));
        }
        return out;
    }

    std::vector<std::string> subjects(const std::string& viewName) {
        std::vector<std::string> out;
        for (const std::vector<std::string>& row : rows(viewName)) out.push_back(row.at(0));
        return out;
    }

    TempDir dir_;
    std::string file_ = dir_.file("responses.nsf");
    component::SessionObject session_{dir_.file("none.reg")};
};

TEST_F(ResponseViewTest, SelectionsReachResponsesOnceEachWhateverTheLinks) {
    struct Case {
        std::string selection;
        store::SortOrder sort;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases{
        {"SELECT Form = \"Main\"", store::SortOrder::None, {"A", "B"}},
        {"SELECT Form = \"Main\" | @AllChildren", store::SortOrder::None, {"A", "AB", "B", "BB"}},
        {"SELECT Form = \"Main\" | @AllDescendants", store::SortOrder::None, {"A", "AB", "ABB", "ABBB", "B", "BB"}},
        {"SELECT Subject = \"AB\" | @AllChildren", store::SortOrder::None, {"AB", "ABB"}},
        {"SELECT Subject = \"AB\" | @AllDescendants", store::SortOrder::Descending, {"ABBB", "ABB", "AB"}},
        {"SELECT Subject = \"C\" | @AllDescendants", store::SortOrder::None, {"C", "D"}},
        {"SELECT Form = \"Loop\" | @AllDescendants", store::SortOrder::None, {"C", "D"}},
        {"SELECT @AllDescendants", store::SortOrder::None, {}},
        {"SELECT @IsResponseDoc", store::SortOrder::None, {"AB", "ABB", "ABBB", "BB", "C", "D", "E"}},
        {"SELECT !@IsResponseDoc | @AllChildren", store::SortOrder::Ascending, {"A", "AB", "B", "BB"}},
    };
    std::vector<write::ViewInput> views;  // each named by its selection
    for (const Case& c : cases) views.push_back({c.selection, {}, c.selection, {{"Subject", "Subject", c.sort}}});
    write(views);
    for (const Case& c : cases) EXPECT_EQ(subjects(c.selection), c.expected) << c.selection;
}

TEST_F(ResponseViewTest, ColumnsTellResponsesApart) {
    store::ViewColumn onResponses{"Answer", "Subject", store::SortOrder::None, false, true};
    write({{"Tree", {}, "SELECT Form = \"Main\" | @AllChildren",
            {{"Subject", "Subject", {}}, onResponses, {"Response", "@Text(@IsResponseDoc)", {}},
             {"Parent", "@InheritedDocumentUniqueID", {}}, {"Children", "@Text(@AllChildren | @AllDescendants)", {}}}}});
    EXPECT_EQ(rows("Tree"), (std::vector<std::vector<std::string>>{{"A", "", "0", "", "0"},
                                                                   {"AB", "AB", "1", unidOf("A"), "0"},
                                                                   {"B", "", "0", "", "0"},
                                                                   {"BB", "BB", "1", text::lower(unidOf("B")), "0"}}));
}

}  // namespace
}  // namespace velloran::notes
