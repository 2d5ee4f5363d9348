// Finding a document's items by name: letter case, names beyond ASCII,
// repeated names, and item objects that outlive their document.
#include "TempDir.h"
#include "access/Directory.h"
#include "component/SessionObject.h"
#include "write/DatabaseWriter.h"

#include <gtest/gtest.h>

namespace velloran::notes {
namespace {

using testing::TempDir;

std::string text(const ValueList& values) { return std::get<std::string>(values.at(0)); }

class ItemLookupTest : public ::testing::Test {
protected:
    void SetUp() override {
        write::DatabaseWriter writer(file_);
        writer.addView({"All", {}, "", {}});
        writer.addNote({{}, 0, 0,
                        {{"Größe", kText, 0, {std::string("groß")}, {}},
                         {"客户名称", kText, 0, {std::string("华北公司")}, {}},
                         {"Code", kText, 0, {access::hashPassword("pw", true)}, {}},
                         {"Subject", kText, 0, {std::string("first")}, {}},
                         {"Code", kText, 0, {std::string("shown")}, {}},
                         {"SUBJECT", kNumber, 0, {2.0}, {}}},
                        {}});
        writer.commit();
        session_.Initialize("");
        document_ = session_.GetDatabase("", file_, false)->GetView("All")->GetNthDocument(1);
    }

    bool found(const std::string& name) { return document_->GetFirstItem(name) != nullptr; }

    TempDir dir_;
    std::string file_ = dir_.file("lookup.nsf");
    component::SessionObject session_{dir_.file("no-registry.reg")};
    DocumentPtr document_;
};

// ASCII letters match in either case; every other character only as it is
// written, as in formulas.
TEST_F(ItemLookupTest, NamesBeyondAsciiMatchWithTheirAsciiLettersInAnyCase) {
    EXPECT_EQ(text(document_->GetItemValue("GRößE")), "groß");
    EXPECT_EQ(document_->GetFirstItem("größe")->Name(), "Größe");
    EXPECT_FALSE(found("GRÖSSE"));
    EXPECT_FALSE(found("GRÖßE"));
    EXPECT_EQ(text(document_->GetItemValue("客户名称")), "华北公司");
    EXPECT_EQ(document_->GetItemValue("客户名"), ValueList{std::string()});
    EXPECT_FALSE(found("客户名稱"));
    EXPECT_FALSE(found("客户名称 "));
}

TEST_F(ItemLookupTest, ARepeatedNameGivesTheFirstShownItemOfIt) {
    EXPECT_EQ(document_->Items(), (StringList{"Größe", "客户名称", "Subject", "Code", "SUBJECT"}));
    for (const char* name : {"Subject", "subject", "SUBJECT"}) {
        EXPECT_EQ(text(document_->GetItemValue(name)), "first") << name;
        EXPECT_EQ(document_->GetFirstItem(name)->Type(), kText) << name;
    }
    EXPECT_EQ(text(document_->GetItemValue("code")), "shown") << "the first Code holds a password hash";
    EXPECT_EQ(text(document_->GetFirstItem("CODE")->Values()), "shown");
}

TEST_F(ItemLookupTest, AnItemObjectKeepsItsValuesAfterItsDocumentIsGone) {
    ItemPtr size = document_->GetFirstItem("Größe");
    ItemPtr customer = document_->GetFirstItem("客户名称");
    document_.reset();
    EXPECT_EQ(size->Name(), "Größe");
    EXPECT_EQ(text(size->Values()), "groß");
    EXPECT_EQ(text(customer->Values()), "华北公司");
}

}  // namespace
}  // namespace velloran::notes
