// Building databases from JSON descriptions.
#include "TempDir.h"
#include "component/SessionObject.h"
#include "common/IndexReport.h"
#include "nsfjson/JsonDatabase.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

namespace velloran::tools {
namespace {

using ::testing::HasSubstr;
using nlohmann::json;
using testing::TempDir;

class JsonDatabaseTest : public ::testing::Test {
protected:
    notes::DatabasePtr open() {
        session_.Initialize("");
        return session_.GetDatabase("", database_, false);
    }

    std::string errorOf(const json& description) {
        try {
            buildFromJson(description, dir_.path().string(), database_);
        } catch (const std::exception& e) {
            return e.what();
        }
        return "no error";
    }

    TempDir dir_;
    std::string database_ = dir_.file("built.nsf");
    notes::component::SessionObject session_{dir_.file("none.reg")};
};

json sample() {
    return json::parse(R"json({
      "title": "Built",
      "views": [ {"name": "Everything", "aliases": ["All"], "columns": [
                   {"title": "Subject", "formula": "Subject", "sort": "descending"},
                   {"title": "Files", "formula": "@Attachments"} ]},
                 {"name": "($Hidden)", "selection": "SELECT Amount > 10"} ],
      "documents": [
        {"created": "2024-01-31T09:30:00Z", "items": [
           {"name": "Subject", "value": "alpha"},
           {"name": "Amount", "type": "number", "value": 12.5},
           {"name": "Due", "type": "datetime", "value": "2024-03-01"},
           {"name": "Tags", "values": ["x", "y"]},
           {"name": "Body", "type": "richtext", "paragraphs": ["a\tb", ["see ", {"object": "pic.txt"}]],
            "objects": [{"name": "pic.txt", "base64": "cGljdHVyZQ=="}]} ],
         "attachments": [ {"name": "notes.txt", "file": "files/notes.txt"}, {"name": "blob.bin", "size": 3000000} ]},
        {"unid": "00112233445566778899AABBCCDDEEFF", "items": [ {"name": "Subject", "value": "beta"},
                                                              {"name": "Amount", "type": "number", "value": 1},
           {"name": "$REF", "type": "noterefs", "value": "FFEEDDCCBBAA99887766554433221100"} ]}
      ]})json");
}

TEST_F(JsonDatabaseTest, BuildsEveryKindOfItemViewAndAttachment) {
    dir_.write("files/notes.txt", "from a file");
    buildFromJson(sample(), dir_.path().string(), database_);
    notes::DatabasePtr database = open();
    EXPECT_EQ(database->Title(), "Built");
    notes::ViewPtr view = database->GetView("all");
    ASSERT_EQ(view->AllEntriesCount(), 2);
    notes::DocumentPtr beta = view->GetNthDocument(1);
    EXPECT_EQ(beta->UniversalID(), "00112233445566778899AABBCCDDEEFF") << "sorted descending";
    EXPECT_EQ(beta->GetFirstItem("$REF")->Type(), notes::kNoteRefs);
    EXPECT_EQ(beta->GetItemValue("$REF"), (notes::ValueList{std::string("FFEEDDCCBBAA99887766554433221100")}));
    notes::DocumentPtr alpha = view->GetNthDocument(2);
    EXPECT_EQ(alpha->ColumnValues(), (notes::ValueList{std::string("alpha"), 2.0}));
    EXPECT_EQ(alpha->Created(), (notes::DateTime{1'706'693'400'000, true}));
    EXPECT_EQ(alpha->GetItemValue("Due"), (notes::ValueList{notes::DateTime{1'709'251'200'000, false}}));
    EXPECT_EQ(alpha->GetItemValue("Tags").size(), 2u);
    notes::RichTextItemPtr body = alpha->GetFirstItem("Body")->AsRichText();
    EXPECT_EQ(body->GetFormattedText(false, 0), "a\tb\r\nsee ");
    body->GetEmbeddedObject("pic.txt")->ExtractFile(dir_.file("pic.txt"));
    EXPECT_EQ(TempDir::read(dir_.file("pic.txt")), "picture");
    alpha->GetAttachment("notes.txt")->ExtractFile(dir_.file("notes-out.txt"));
    EXPECT_EQ(TempDir::read(dir_.file("notes-out.txt")), "from a file");
    notes::EmbeddedObjectPtr blob = alpha->GetAttachment("blob.bin");
    EXPECT_EQ(blob->FileSize(), 3'000'000);
    blob->ExtractFile(dir_.file("blob.bin"));
    EXPECT_EQ(std::filesystem::file_size(dir_.file("blob.bin")), 3'000'000u) << "spans several stored chunks";
    EXPECT_EQ(database->GetView("($Hidden)")->AllEntriesCount(), 1);
}

TEST_F(JsonDatabaseTest, AddsToAnExistingDatabase) {
    dir_.write("files/notes.txt", "x");
    buildFromJson(sample(), dir_.path().string(), database_);
    buildFromJson(json::parse(R"({"documents": [{"items": [{"name": "Subject", "value": "gamma"}]}]})"),
                  dir_.path().string(), database_);
    notes::DatabasePtr database = open();
    EXPECT_EQ(database->GetView("Everything")->AllEntriesCount(), 3);
    EXPECT_EQ(database->GetView("($Hidden)")->AllEntriesCount(), 1) << "a document without Amount is not selected";
}

TEST_F(JsonDatabaseTest, ErrorsNameTheJsonPathAndWriteNothing) {
    json badType = json::parse(R"({"documents": [{"items": []}, {"items": [{"name": "a", "value": "b"},
                                  {"name": "n", "type": "txt", "value": 1}]}]})");
    EXPECT_EQ(errorOf(badType), "documents[1].items[1].type: 未知的类型 'txt'（可以是 text、number、datetime、richtext、"
                                "names、readers、authors 或 noterefs）");
    EXPECT_FALSE(std::filesystem::exists(database_)) << "a failed build leaves no file behind";
    EXPECT_THAT(errorOf(json::parse(R"({"documents": [{"items": [{"value": "b"}]}]})")),
                HasSubstr("documents[0].items[0]: 缺少 \"name\""));
    EXPECT_THAT(errorOf(json::parse(R"({"documents": [{"created": "yesterday", "items": []}]})")),
                HasSubstr("documents[0].created: 'yesterday' 不是日期"));
    EXPECT_THAT(errorOf(json::parse(R"({"documents": [{"items": [{"name": "n", "type": "number", "value": "1"}]}]})")),
                HasSubstr("documents[0].items[0].value: 必须是数字"));
    EXPECT_THAT(errorOf(json::parse(R"({"documents": [{"items": [], "attachments": [{"name": "a", "file": "nope"}]}]})")),
                HasSubstr("documents[0].attachments[0].file: 文件"));
    EXPECT_THAT(errorOf(json::parse(R"({"views": [{"name": "V", "selection": "SELECT ("}]})")),
                HasSubstr("views[0]: 视图“V”的选择公式: 公式第 9 个字符处有错误"));
    EXPECT_THAT(errorOf(json::parse(R"({"documents": [{"items": [{"name": "B", "type": "richtext",
                                       "paragraphs": [[{"object": "x"}]]}]}]})")),
                HasSubstr("documents[0]: 多信息文本域 B 引用的嵌入对象“x”没有给出"));
    EXPECT_THAT(errorOf(json::parse(R"({"acl": [{"name": "x", "level": "boss"}]})")), HasSubstr("acl[0].level"));
}

TEST_F(JsonDatabaseTest, NumbersOutOfRangeAreRefusedWithTheirPath) {
    auto attachmentOfSize = [](const std::string& size) {
        return json::parse(R"({"documents": [{"items": [], "attachments": [{"name": "a", "size": )" + size + "}]}]}");
    };
    for (const char* size : {"1e300", "-1", "1.5", "9223372036854775807", "18446744073709551616", "\"10\""})
        EXPECT_THAT(errorOf(attachmentOfSize(size)),
                    HasSubstr("documents[0].attachments[0].size: 必须是 0 到 1099511627776 的整数"))
            << size;
    auto itemWithFlags = [](const std::string& flags) {
        return json::parse(R"({"documents": [{"items": [{"name": "n", "value": "v", "flags": )" + flags + "}]}]}");
    };
    for (const char* flags : {"1e300", "-1e300", "2.5", "2147483648"})
        EXPECT_THAT(errorOf(itemWithFlags(flags)),
                    HasSubstr("documents[0].items[0].flags: 必须是 -2147483648 到 2147483647 的整数"))
            << flags;
    EXPECT_FALSE(std::filesystem::exists(database_));

    EXPECT_EQ(errorOf(itemWithFlags("2147483647")), "no error");
    EXPECT_EQ(errorOf(attachmentOfSize("2.0e1")), "no error") << "a whole number written as a fraction";
}

TEST_F(JsonDatabaseTest, ANewDatabaseTakesItsNameOnlyWhenCompleteAndIsTheOwnersAlone) {
    json bad = json::parse(R"({"documents": [{"items": [{"name": "a", "value": "b"}]}, {"items": 1}]})");
    EXPECT_THAT(errorOf(bad), HasSubstr("documents[1].items: 必须是数组"));
    EXPECT_TRUE(std::filesystem::is_empty(dir_.path())) << "neither the database nor its build file is left";

    EXPECT_EQ(errorOf(json::parse(R"({"title": "T"})")), "no error");
    std::vector<std::filesystem::path> files(std::filesystem::directory_iterator(dir_.path()), {});
    EXPECT_EQ(files, std::vector<std::filesystem::path>{database_});
    EXPECT_EQ(std::filesystem::status(database_).permissions(), std::filesystem::perms(0600));
}

TEST_F(JsonDatabaseTest, DocumentsAViewCannotFullyTakeAreReportedWithTheirIds) {
    const notes::write::ViewIndexReport report = buildFromJson(json::parse(R"json({
      "views": [ {"name": "Sums", "selection": "SELECT Amount + @If(Subject = \"b\"; \"x\"; 0) > 0",
                  "columns": [ {"title": "Double", "formula": "@Text(Amount * @If(Subject = \"a\"; \"x\"; 2))"} ]} ],
      "documents": [
        {"unid": "000000000000000000000000000000AA", "items": [ {"name": "Subject", "value": "a"},
                                                              {"name": "Amount", "type": "number", "value": 1} ]},
        {"unid": "000000000000000000000000000000BB", "items": [ {"name": "Subject", "value": "b"},
                                                              {"name": "Amount", "type": "number", "value": 2} ]},
        {"items": [ {"name": "Subject", "value": "c"}, {"name": "Amount", "type": "number", "value": 3} ]} ]})json"),
                                                               dir_.path().string(), database_);
    std::ostringstream said;
    printIndexReport(said, "tool", report);
    EXPECT_THAT(said.str(), HasSubstr("tool: 视图“Sums”，column 1 ('Double')，文档 000000000000000000000000000000AA: "
                                      "值留空: "));
    EXPECT_THAT(said.str(), HasSubstr("tool: 1 个文档的视图选择公式出错，未列入该视图\n"));
    EXPECT_EQ(open()->GetView("Sums")->AllEntriesCount(), 2);

    std::ostringstream silent;
    printIndexReport(silent, "tool", notes::write::ViewIndexReport{});
    EXPECT_EQ(silent.str(), "");
}

TEST_F(JsonDatabaseTest, AnUnreadableJsonFileIsReported) {
    std::string bad = dir_.write("bad.json", "{ not json");
    EXPECT_THROW(buildFromJsonFile(bad, database_), std::exception);
    EXPECT_THROW(buildFromJsonFile(dir_.file("absent.json"), database_), std::exception);
}

}  // namespace
}  // namespace velloran::tools
