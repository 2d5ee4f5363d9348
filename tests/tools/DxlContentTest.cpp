// What the import makes of particular parts of an export: attachments in
// their places, date-time pairs, sections, computed text, embedded objects
// and texts long enough to reach the reader in many pieces.
#include "DxlImportFixture.h"
#include "dxl/DxlValues.h"
#include "store/ObjectFile.h"
#include "text/ValueText.h"

#include <gmock/gmock.h>

namespace velloran::tools::dxl {
namespace {

using namespace notes;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using testing::TempDir;

const std::string kUnid = "00000000000000000000000000000001";

// One document holding `items`.
std::string documentXml(const std::string& items) {
    return "<?xml version='1.0'?>\n<database xmlns='http://www.lotus.com/dxl'><document><noteinfo unid='" + kUnid +
           "'/>" + items + "</document></database>";
}

std::string fileItem(const std::string& name, const std::string& base64) {
    return "<item name='$FILE'><object><file name='" + name + "'><filedata>" + base64 +
           "</filedata></file></object></item>";
}

class DxlContentTest : public DxlImportFixture {
protected:
    std::string extracted(const store::StoredObject& object) {
        std::string target = dir_.file("out-" + std::to_string(object.objectId));
        store::extractObject(db(), object, target);
        return TempDir::read(target);
    }
};

TEST_F(DxlContentTest, AttachmentsKeepTheirOrderAndTheirItemsTheirPlace) {
    importXml(documentXml("<item name='A'><text>a</text></item>" + fileItem("c.txt", "Yw==") +
                          "<item name='B'><text>b</text></item>" + fileItem("a.txt", "YQ==") + fileItem("b.txt", "Yg==")));
    std::vector<std::string> names, files;
    for (const store::StoredItem& stored : itemsOf(kUnid)) {
        names.push_back(stored.name);
        if (stored.type == kAttachment) files.push_back(std::get<std::string>(stored.values.list().at(0)));
    }
    EXPECT_THAT(names, ElementsAre("A", "$FILE", "B", "$FILE", "$FILE"));
    EXPECT_THAT(files, ElementsAre("c.txt", "a.txt", "b.txt"));
    std::vector<std::string> attached;
    for (const store::StoredObject& object : store::NoteStore(db()).attachments(noteIdOf(kUnid)))
        attached.push_back(object.name + "=" + extracted(object));
    EXPECT_THAT(attached, ElementsAre("c.txt=c", "a.txt=a", "b.txt=b"));
}

// Our values have no range: a pair is its two moments, in order.
TEST_F(DxlContentTest, DateTimePairsAreTwoMomentsAndNeedBoth) {
    importXml(documentXml("<item name='Stay'><datetimepair><datetime>20240102T030405,06Z</datetime>"
                          "<datetime>20240103</datetime></datetimepair></item>"));
    EXPECT_EQ(item(itemsOf(kUnid), "Stay").values.list(),
              (ValueList{*parseDateTime("20240102T030405,06Z"), *parseDateTime("20240103")}));
    EXPECT_EQ(item(itemsOf(kUnid), "Stay").type, kDateTime);

    std::filesystem::remove(database_);
    connection_.reset();
    EXPECT_THAT(errorOf(documentXml("<item name='P'><datetimepair><datetime>20240102</datetime></datetimepair></item>")),
                HasSubstr("日期时间对需要两个日期时间"));
    EXPECT_THAT(errorOf(documentXml("<item name='P'><datetimepair><text>x</text><datetime>20240102</datetime>"
                                    "</datetimepair></item>")),
                HasSubstr("日期时间对中有 <text>"));
}

// Date-times as the platform writes them: with the daylight flag, a date
// or a time alone, lists holding a pair, and the empty <datetime/> of an
// empty value, which in <created> leaves the time unknown.
TEST_F(DxlContentTest, EveryDateTimeFormImports) {
    importXml("<?xml version='1.0'?>\n<database xmlns='http://www.lotus.com/dxl'><document form='Event'>"
              "<noteinfo noteid='8fa' unid='" + kUnid + "' sequence='2'><created><datetime/></created>"
              "<modified><datetime dst='true'>20260720T120000,00-04</datetime></modified></noteinfo>"
              "<item name='Start'><datetime dst='true'>20260720T120000,00-04</datetime></item>"
              "<item name='Day'><datetime>20260720</datetime></item>"
              "<item name='At'><datetime>T083000,00</datetime></item>"
              "<item name='Due'><datetime/></item>"
              "<item name='Times'><datetimelist><datetime>T083000,00</datetime><datetime>20260720</datetime>"
              "<datetimepair><datetime>20260721T090000,00+0530</datetime><datetime>20260721T170000,00+0530</datetime>"
              "</datetimepair></datetimelist></item></document></database>");
    const DateTime start = *parseDateTime("20260720T120000,00-04"), day = *parseDateTime("20260720"),
                   at = *parseDateTime("T083000,00");
    store::NoteHeader header = store::NoteStore(db()).headerByUnid(kUnid).value();
    EXPECT_EQ(header.created, start.msecsSinceEpoch);
    EXPECT_EQ(header.modified, start.msecsSinceEpoch);
    auto items = itemsOf(kUnid);
    EXPECT_EQ(item(items, "Start").values.list(), (ValueList{DateTime{1'784'563'200'000, true}}));
    EXPECT_EQ(item(items, "Day").values.list(), ValueList{day});
    EXPECT_EQ(item(items, "At").values.list(), ValueList{at});
    EXPECT_EQ(text::valueText(at), "08:30:00");
    EXPECT_EQ(item(items, "Due").type, kDateTime);
    EXPECT_TRUE(item(items, "Due").values.list().empty());
    EXPECT_EQ(item(items, "Times").values.list(),
              (ValueList{at, day, *parseDateTime("20260721T033000Z"), *parseDateTime("20260721T113000Z")}));
}

// A pretty-printed file indents the runs of a paragraph on lines of their
// own; blanks on the paragraph's line between runs are the document's.
TEST_F(DxlContentTest, IndentationInsideParagraphsIsNotText) {
    importXml(documentXml("<item name='Body'><richtext>\n  <pardef id='1'/>\n  <par def='1'>\n"
                          "    <run><font style='bold'/>Hello</run>\n    <run>world</run>\n  </par>\n"
                          "  <par def='1'><run>a</run> <run>b</run>\t<run>c</run></par>\n"
                          "  <par def='1'>  lead <run>x</run>  <!-- note -->  <run>y</run>\n</par>\n"
                          "  <par def='1'>\n    <run>\n      <font/>z</run>\n  </par>\n</richtext></item>"));
    store::RichText body = store::NoteStore(db()).richText(noteIdOf(kUnid), item(itemsOf(kUnid), "Body").seq);
    std::vector<std::string> lines;
    for (const auto& paragraph : body) lines.push_back(textOf(paragraph));
    EXPECT_THAT(lines, ElementsAre("Helloworld", "a b\tc", "  lead x    y", "z"));
}

// Elements nested tens of thousands deep are refused where they go too
// deep, leaving nothing behind; a thousand levels still import.
TEST_F(DxlContentTest, DeepNestingIsRefusedWithItsPosition) {
    struct Nest {
        std::string item, open, inner, close;
    };
    const std::vector<Nest> nests = {
        {"<item name='Body'><richtext><par>%</par></richtext></item>", "<run>", "x", "</run>"},
        {"<item name='List'>%</item>", "<textlist>", "<text>x</text>", "</textlist>"},
        {"<item name='Body'><richtext>%</richtext></item>", "<table><tablerow><tablecell>", "x",
         "</tablecell></tablerow></table>"},
    };
    auto nested = [](const Nest& nest, int depth) {
        std::string inside;
        for (int i = 0; i < depth; ++i) inside += nest.open;
        inside += nest.inner;
        for (int i = 0; i < depth; ++i) inside += nest.close;
        std::string item = nest.item;
        return item.replace(item.find('%'), 1, inside);
    };
    for (const Nest& nest : nests) {
        std::filesystem::remove(database_);
        connection_.reset();
        EXPECT_THAT(errorOf(documentXml(nested(nest, 40'000))),
                    AllOf(HasSubstr("第 2 行第"), HasSubstr("嵌套超过 1000 层")))
            << nest.open;
        for (const auto& entry : std::filesystem::directory_iterator(dir_.path()))
            EXPECT_EQ(entry.path().filename(), "in.xml") << nest.open;
        EXPECT_NO_THROW(importXml(documentXml(nested(nest, 990)))) << nest.open;
    }
}

TEST_F(DxlContentTest, SectionsComputedTextAndEmbeddedObjectsFlatten) {
    importXml(documentXml(
        "<item name='Body'><richtext><par>before</par>"
        "<section><sectiontitle><font size='12pt'/><text>Terms</text></sectiontitle>"
        "<code event='hidewhen'><formula>@True</formula></code>"
        "<par>inside <computedtext><code event='value'><formula>@UserName</formula></code></computedtext>end</par>"
        "</section>"
        "<par>see <object><file name='chart.bin'><filedata>AAEC/w==</filedata></file></object>"
        " and <object><file name='gone.bin'/></object></par></richtext></item>"));
    store::NoteStore notes(db());
    std::int64_t noteId = noteIdOf(kUnid);
    int seq = item(itemsOf(kUnid), "Body").seq;
    store::RichText body = notes.richText(noteId, seq);
    std::vector<std::string> lines;
    for (const auto& paragraph : body) lines.push_back(textOf(paragraph));
    EXPECT_THAT(lines, ElementsAre("before", "Terms", "inside end", "see chart.bin and [gone.bin]"));
    ASSERT_EQ(body.size(), 4u);
    EXPECT_EQ(body[3].runs.at(1).kind, store::RunKind::Object);

    std::optional<store::StoredObject> chart = notes.embeddedObject(noteId, seq, "chart.bin");
    ASSERT_TRUE(chart);
    EXPECT_EQ(extracted(*chart), std::string("\x00\x01\x02\xff", 4));
    EXPECT_FALSE(notes.embeddedObject(noteId, seq, "gone.bin"));
    EXPECT_TRUE(notes.attachments(noteId).empty());
}

// The base64 text of <filedata> decodes the same however it is written:
// in lines, broken by a character reference, a comment or a CDATA section
// even inside a group of four, empty, or an element of its own.
TEST_F(DxlContentTest, FileDataDecodesHoweverItsTextIsWritten) {
    const std::vector<std::pair<std::string, std::string>> forms = {
        {"<filedata>YWJj\r\nZGVm\nZ2g=\n</filedata>", "abcdefgh"},
        {"<filedata>\n  YWJjZGVm Z2g=\t\n</filedata>", "abcdefgh"},
        {"<filedata>YW&#74;jZGVmZ2g=</filedata>", "abcdefgh"},
        {"<filedata>&#x59;WJjZGVmZ2g=</filedata>", "abcdefgh"},
        {"<filedata>YWJjZ<!-- x -->GVmZ2g=</filedata>", "abcdefgh"},
        {"<filedata>YWJj<![CDATA[ZGVm]]>Z2g=</filedata>", "abcdefgh"},
        {"<dxl:filedata xmlns:dxl='http://www.lotus.com/dxl'>YWJjZGVmZ2g=</dxl:filedata>", "abcdefgh"},
        {"<filedata></filedata>", ""},
        {"<filedata/>", ""},
    };
    std::string items;
    for (std::size_t i = 0; i < forms.size(); ++i)
        items += "<item name='$FILE'><object><file name='f" + std::to_string(i) + "'>" + forms[i].first +
                 "</file></object></item>";
    importXml(documentXml("<item name='T'><text>before</text></item>" + items));
    auto attachments = store::NoteStore(db()).attachments(noteIdOf(kUnid));
    ASSERT_EQ(attachments.size(), forms.size());
    for (std::size_t i = 0; i < forms.size(); ++i) EXPECT_EQ(extracted(attachments[i]), forms[i].second) << forms[i].first;
}

// Over a megabyte of text, with characters of every width, entities and
// line ends, in a text, a CDATA section and a rich-text paragraph.
TEST_F(DxlContentTest, TextsLongerThanAMegabyteArriveWhole) {
    std::string plain;
    for (int i = 0; plain.size() < (1u << 20) + 4096; ++i) plain += i % 5 == 0 ? "é中😀 " : "abcdefghij";
    std::string withMarkup;
    for (int i = 0; withMarkup.size() < (1u << 20) + 4096; ++i) withMarkup += i % 9 == 0 ? "&lt;&amp;&#x4E2D;\r\n" : "klmnopq";
    std::string markupRead = withMarkup;
    for (auto [from, to] : {std::pair<std::string, std::string>{"&lt;", "<"}, {"&amp;", "&"}, {"&#x4E2D;", "中"}, {"\r\n", "\n"}})
        for (std::size_t at; (at = markupRead.find(from)) != std::string::npos;) markupRead.replace(at, from.size(), to);

    importXml(documentXml("<item name='Plain'><text>" + plain + "</text></item>"
                          "<item name='Marked'><text>" + withMarkup + "</text></item>"
                          "<item name='Section'><text><![CDATA[" + plain + "<&>]]></text></item>"
                          "<item name='Body'><richtext><par>" + plain + "</par></richtext></item>"));
    auto items = itemsOf(kUnid);
    EXPECT_TRUE(item(items, "Plain").values.list() == ValueList{plain});
    EXPECT_TRUE(item(items, "Marked").values.list() == ValueList{markupRead});
    EXPECT_TRUE(item(items, "Section").values.list() == ValueList{plain + "<&>"});
    store::RichText body = store::NoteStore(db()).richText(noteIdOf(kUnid), item(items, "Body").seq);
    ASSERT_EQ(body.size(), 1u);
    EXPECT_TRUE(textOf(body[0]) == plain);
}

}  // namespace
}  // namespace velloran::tools::dxl
