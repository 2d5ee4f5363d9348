// Importing a database's XML export into a new database.
#include "DxlImportFixture.h"
#include "dxl/DxlValues.h"
#include "store/ObjectFile.h"
#include "write/DatabaseWriter.h"

#include <QByteArray>
#include <QtGlobal>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sodium.h>

#include "common/ToolError.h"

namespace velloran::tools::dxl {
namespace {

using namespace notes;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using testing::TempDir;

const std::string kExamples = VELLORAN_DXL_EXAMPLES;

class DxlImportTest : public DxlImportFixture {
protected:
    ImportSummary importSample() { return importDxlFile(kExamples + "/sample.xml", database_); }
};

const std::string kFirst = "0123456789ABCDEF0123456789ABCDEF";

TEST_F(DxlImportTest, DocumentsKeepTheirNoteInfoItemsValuesAndFlags) {
    importSample();
    store::NoteStore notes(db());
    EXPECT_EQ(notes.noteIds().size(), 2u);
    EXPECT_EQ(notes.title(), "销售");
    store::NoteHeader header = notes.headerByUnid(kFirst).value();
    EXPECT_EQ(header.created, parseDateTime("20010522T143636,81Z")->msecsSinceEpoch);
    EXPECT_EQ(header.modified, parseDateTime("20010523")->msecsSinceEpoch);

    auto items = itemsOf(kFirst);
    std::vector<std::string> names;
    for (const auto& stored : items) names.push_back(stored.name);
    EXPECT_THAT(names, ElementsAre("Form", "Customer", "Tags", "Amount", "Counts", "Due", "Window", "Owners", "Readers",
                                   "Body", "$FILE", "$Blob", "Empty"));
    EXPECT_EQ(item(items, "$FILE").type, kAttachment);
    EXPECT_EQ(item(items, "$FILE").values.list(), (ValueList{std::string("hello.txt")}));
    EXPECT_EQ(item(items, "Customer").values.list(), (ValueList{std::string("Acme\nLtd")}));
    EXPECT_EQ(item(items, "Customer").flags, kFlagSummary);
    EXPECT_EQ(item(items, "Tags").values.list(), (ValueList{std::string("a"), std::string("b")}));
    EXPECT_EQ(item(items, "Amount").type, kNumber);
    EXPECT_EQ(item(items, "Counts").values.list(), (ValueList{1.0, -2000.0}));
    EXPECT_EQ(item(items, "Due").values.list(), (ValueList{*parseDateTime("20240301")}));
    EXPECT_EQ(item(items, "Window").type, kDateTime);
    EXPECT_EQ(item(items, "Window").values.list(),
              (ValueList{*parseDateTime("20240301T000000Z"), *parseDateTime("20240302T000000Z"),
                         *parseDateTime("20240303T133000,50Z")}));
    EXPECT_EQ(item(items, "Owners").type, kAuthors);
    EXPECT_EQ(item(items, "Owners").flags, kFlagNames | kFlagAuthors);
    EXPECT_EQ(item(items, "Readers").type, kReaders);
    EXPECT_EQ(item(items, "$Blob").type, notes::kRawData);
    EXPECT_EQ(item(items, "$Blob").values.list(), (ValueList{std::string("AAECAwQ=")}));
    EXPECT_EQ(item(items, "Empty").type, kText);
}

TEST_F(DxlImportTest, RichTextIsFlattenedAndAttachmentsDecoded) {
    importSample();
    auto items = itemsOf(kFirst);
    store::NoteStore notes(db());
    std::int64_t noteId = notes.headerByUnid(kFirst)->noteId;
    store::RichText body = notes.richText(noteId, item(items, "Body").seq);
    std::vector<std::string> lines;
    for (const auto& paragraph : body) lines.push_back(textOf(paragraph));
    EXPECT_THAT(lines, ElementsAre("First bold\tafter tab", "line one", "line two", "r1c1\tr1c2 more", "r2c1\t",
                                   "see [hello.txt]"));

    auto attachments = notes.attachments(noteId);
    ASSERT_EQ(attachments.size(), 1u);
    EXPECT_EQ(attachments[0].name, "hello.txt");
    store::extractObject(db(), attachments[0], dir_.file("hello.txt"));
    EXPECT_EQ(TempDir::read(dir_.file("hello.txt")), "hello world");
}

// A view the engine cannot evaluate is kept with its formula, lists no
// documents and is reported; the folder is imported empty and said to be.
TEST_F(DxlImportTest, ViewsFoldersAndAclAreImportedAndTheRestCounted) {
    ImportSummary summary = importSample();
    store::ViewStore views(db());
    auto designs = views.views();
    ASSERT_EQ(designs.size(), 3u);
    const store::ViewDesign& byCustomer = designs[0];
    const store::ViewDesign& broken = designs[1];
    const store::ViewDesign& folder = designs[2];
    EXPECT_THAT(byCustomer.aliases, ElementsAre("Customers", "Cust"));
    EXPECT_EQ(byCustomer.selection, "SELECT Form = \"Order\"");
    EXPECT_EQ(byCustomer.entryCount, 2);
    const auto& columns = byCustomer.columns;
    ASSERT_EQ(columns.size(), 2u);
    EXPECT_EQ(columns[0].title, "客户");
    EXPECT_EQ(columns[0].formula, "Customer");
    EXPECT_EQ(columns[0].sort, store::SortOrder::Ascending);
    EXPECT_EQ(columns[1].formula, "Amount * 2");
    EXPECT_EQ(broken.name, "Broken");
    EXPECT_EQ(broken.selection, "SELECT (((");
    EXPECT_EQ(broken.entryCount, 0);
    EXPECT_TRUE(views.entriesFrom(broken.viewId, 1, 10).empty());
    EXPECT_EQ(folder.name, "Favourites");
    EXPECT_THAT(folder.aliases, ElementsAre("Fav"));
    EXPECT_EQ(folder.entryCount, 0);
    EXPECT_EQ(folder.columns.at(0).sort, store::SortOrder::Descending);

    auto acl = views.acl();
    ASSERT_EQ(acl.size(), 2u);
    EXPECT_EQ(summary.imported["acl entries"], 2);
    EXPECT_EQ(summary.imported["documents"], 2);
    EXPECT_EQ(summary.imported["views"], 2);
    EXPECT_EQ(summary.imported["folders"], 1);
    EXPECT_EQ(summary.skipped["agent"], 2);
    EXPECT_EQ(summary.skipped["form"], 1);
    EXPECT_EQ(summary.unreadable["acl entry"], 1);
    EXPECT_EQ(summary.unreadable["item"], 1);
    EXPECT_EQ(summary.unreadable.count("view"), 0u);
    EXPECT_EQ(summary.lost, 0);
    ASSERT_EQ(summary.unindexed.size(), 1u);
    EXPECT_THAT(summary.unindexed[0], AllOf(HasSubstr("第 14 行"), HasSubstr("视图“Broken”的选择公式: 公式第 11 个字符处"),
                                            HasSubstr("SELECT ((("), Not(HasSubstr("Formula error"))));
    EXPECT_THAT(summary.emptyFolders, ElementsAre("Favourites"));
    EXPECT_TRUE(summary.index.unindexedViews.empty());
    std::string report = summary.report();
    EXPECT_THAT(report, HasSubstr("保留但没有索引"));
    EXPECT_THAT(report, HasSubstr("SELECT ((("));
    EXPECT_THAT(report, HasSubstr("导入为空的文件夹"));
    EXPECT_THAT(report, HasSubstr("superuser"));
    EXPECT_THAT(report, HasSubstr("<formula>"));
}

// The kept view stays kept: adding to the database later rebuilds the other
// views and reports this one instead of refusing the whole commit.
TEST_F(DxlImportTest, AKeptViewDoesNotStopLaterWrites) {
    importSample();
    write::DatabaseWriter writer(database_);
    writer.addNote({{}, 1, 1, {{"Form", kText, 0, {std::string("Order")}, {}}}, {}});
    write::ViewIndexReport report = writer.commit();
    ASSERT_EQ(report.unindexedViews.size(), 1u);
    EXPECT_EQ(report.unindexedViews[0].view, "Broken");
    auto designs = store::ViewStore(db()).views();
    EXPECT_EQ(designs.at(0).entryCount, 3);
    EXPECT_EQ(designs.at(1).entryCount, 0);
}

TEST_F(DxlImportTest, BadInputNamesLineAndColumnAndLeavesNoDatabase) {
    const std::string head = "<?xml version='1.0'?>\n<database xmlns='http://www.lotus.com/dxl'>\n";
    EXPECT_THAT(errorOf(head + "<document><item name='A'><text>x</item></document>\n</database>"),
                HasSubstr("第 3 行第"));
    EXPECT_THAT(errorOf(head + "<document>\n<item name='D'><datetime>2001-05-22</datetime></item></document></database>"),
                AllOf(HasSubstr("第 4 行"), HasSubstr("2001-05-22")));
    EXPECT_THAT(errorOf(head + "<document><item name='N'><number>twelve</number></item></document></database>"),
                HasSubstr("'twelve' 不是数字"));
    EXPECT_THAT(errorOf(head + "<document><item name='$FILE'><object><file name='a'><filedata>a*b=</filedata>"
                               "</file></object></item></document></database>"),
                HasSubstr("文件 a: 数据不是有效的 base64"));
    EXPECT_THAT(errorOf(head + "<document><noteinfo unid='XYZ'/></document></database>"),
                AllOf(HasSubstr("第 3 行"), HasSubstr("XYZ")));
    EXPECT_THAT(errorOf(head + "<document>"), HasSubstr("结束之前就结束了"));
    EXPECT_THAT(errorOf("<html/>"), HasSubstr("不是数据库或笔记的 XML 导出文件"));
    EXPECT_THAT(errorOf(""), HasSubstr("第 1 行"));
    EXPECT_FALSE(std::filesystem::exists(database_));
    for (const auto& entry : std::filesystem::directory_iterator(dir_.path()))
        EXPECT_EQ(entry.path().filename(), "in.xml");
}

// Attachment data that ends early or is not base64 is refused, naming the
// file and the position in the file where the reader found out.
TEST_F(DxlImportTest, CutOrBrokenFileDataIsRefusedWithItsPosition) {
    const std::string file = "<?xml version='1.0'?>\n<database><document><item name='$FILE'><object><file name='a'>";
    EXPECT_THAT(errorOf(file + "<filedata>\nYWJj\nZG"), AllOf(HasSubstr("第 4 行第 2 列"), HasSubstr("结束之前就结束了")));
    EXPECT_THAT(errorOf(file + "<filedata>\nYWJjZG</filedata></file></object></item></document></database>"),
                AllOf(HasSubstr("第 3 行第 24 列"), HasSubstr("文件 a: base64 数据在一组四个字符的中间结束")));
    EXPECT_THAT(errorOf(file + "<filedata>YQ==YQ==\n</filedata></file></object></item></document></database>"),
                AllOf(HasSubstr("第 3 行第 1 列"), HasSubstr("文件 a: 数据不是有效的 base64")));
    EXPECT_THAT(errorOf(file + "<filedata>YQ==</filedata><filedata>YQ==</filedata></file></object></item></document>"
                               "</database>"),
                HasSubstr("文件 a 有不止一个 <filedata>"));
}

// Attachment data is spooled in the temporary folder and removed from it,
// whether the import is refused or not, and data in a note that is skipped
// is dropped.
TEST_F(DxlImportTest, SpooledDataLeavesNothingBehind) {
    const std::string temporary = dir_.file("tmp");
    std::filesystem::create_directory(temporary);
    std::optional<QByteArray> previous;
    if (qEnvironmentVariableIsSet("TMPDIR")) previous = qgetenv("TMPDIR");
    qputenv("TMPDIR", QByteArray::fromStdString(temporary));
    const std::string file = "<item name='$FILE'><object><file name='a'><filedata>\nYWJj\n</filedata></file></object></item>";
    const std::string xml = "<database><form><item name='$FILE'><object><file name='f'><filedata>Zm9ybQ==</filedata>"
                            "</file></object></item></form><document>" + file + "</document><document>" + file + file;
    std::vector<std::string> left;
    for (const std::string& input : {xml, xml + "</document><bad></database>", xml + "</document></database>"}) {
        std::filesystem::remove(database_);
        errorOf(input);
        for (const auto& entry : std::filesystem::directory_iterator(temporary)) left.push_back(entry.path().string());
    }
    if (previous) qputenv("TMPDIR", *previous);
    else qunsetenv("TMPDIR");
    EXPECT_TRUE(left.empty()) << left.front();
    store::NoteStore notes(db());
    ASSERT_EQ(notes.noteIds().size(), 2u);
    auto attachments = notes.attachments(notes.noteIds().at(1));
    ASSERT_EQ(attachments.size(), 2u);
    EXPECT_EQ(attachments[1].size, 3);
}

TEST_F(DxlImportTest, AnExistingDatabaseIsNotOverwritten) {
    dir_.write("imported.nsf", "keep");
    EXPECT_THROW(importSample(), Failure);
    EXPECT_EQ(TempDir::read(database_), "keep");
}

TEST_F(DxlImportTest, ANewDatabaseInAGroupSharedFolderIsGroupReadable) {
    const std::string shared = dir_.file("shared");
    std::filesystem::create_directory(shared);
    std::filesystem::permissions(shared, std::filesystem::perms(02750));
    importDxlFile(kExamples + "/sample.xml", shared + "/sales.nsf");
    EXPECT_EQ(std::filesystem::status(shared + "/sales.nsf").permissions(), std::filesystem::perms(0640));
}

TEST_F(DxlImportTest, LargeAttachmentsAreDecodedWhole) {
    std::string bytes(3 * 1024 * 1024 + 5, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 31 % 256);
    std::string encoded(sodium_base64_ENCODED_LEN(bytes.size(), sodium_base64_VARIANT_ORIGINAL), '\0');
    sodium_bin2base64(encoded.data(), encoded.size(), reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                      sodium_base64_VARIANT_ORIGINAL);
    encoded.resize(encoded.size() - 1);
    std::string xml = "<database><document><item name='$FILE'><object><file name='big.bin'><filedata>" + encoded +
                      "</filedata></file></object></item></document></database>";
    importDxlFile(dir_.write("big.xml", xml), database_);
    store::NoteStore notes(db());
    auto attachments = notes.attachments(notes.noteIds().at(0));
    ASSERT_EQ(attachments.size(), 1u);
    EXPECT_EQ(attachments[0].size, static_cast<std::int64_t>(bytes.size()));
    store::extractObject(db(), attachments[0], dir_.file("big.out"));
    EXPECT_TRUE(TempDir::read(dir_.file("big.out")) == bytes);
}

}  // namespace
}  // namespace velloran::tools::dxl
