// XML exports in the other forms the platform writes them: a single note
// or access list as the root, note format, the form and response link as a
// document's attributes, several files into one database, and the
// command's rules for partial imports, existing databases and entities.
#include "DxlImportFixture.h"
#include "dxl/DxlReader.h"
#include "dxl/ImportCommand.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>

namespace velloran::tools::dxl {
namespace {

using namespace notes;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using testing::TempDir;

const std::string kHead = "<?xml version='1.0' encoding='utf-8'?>\n";
const std::string kNamespace = " xmlns='http://www.lotus.com/dxl' version='9.0' replicaid='85257A0B00523E37'";
const std::string kParent = "431A199A6FCC9C0985256A54005041A1";
const std::string kChild = "531A199A6FCC9C0985256A54005041A2";

std::string noteInfo(const std::string& unid) {
    return "<noteinfo noteid='8f6' unid='" + unid + "' sequence='1'><created><datetime dst='true'>"
           "20010522T103636,81-04</datetime></created></noteinfo>";
}

// A document of form Memo in document format, as the whole file.
std::string memo(const std::string& unid, const std::string& items = {}) {
    return kHead + "<document form='Memo'>" + noteInfo(unid) + items + "</document>";
}

std::vector<std::string> namesOf(const std::vector<store::StoredItem>& items) {
    std::vector<std::string> names;
    for (const store::StoredItem& stored : items) names.push_back(stored.name);
    return names;
}

struct CommandRun {
    int status;
    std::string out;
    std::string err;
};

class DxlNotesTest : public DxlImportFixture {
protected:
    CommandRun run(std::vector<std::string> args) {
        args.insert(args.begin(), "velloran-dxl-import");
        std::vector<char*> argv;
        for (std::string& arg : args) argv.push_back(arg.data());
        std::ostringstream out, err;
        int status = runImport(static_cast<int>(argv.size()), argv.data(), out, err);
        return {status, out.str(), err.str()};
    }

    std::vector<std::string> filesLeft() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir_.path()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

// Each root the format allows is read as the part of a database it is; the
// mail export without a namespace reads the same.
TEST_F(DxlNotesTest, EveryRootTheFormatAllowsIsRead) {
    struct Case {
        std::string root;
        std::map<std::string, int> imported;
        std::map<std::string, int> skipped;
    };
    const std::string items = noteInfo(kParent) + "<item name='Subject'><text>Hi</text></item>";
    const std::vector<Case> cases = {
        {"<document" + kNamespace + " form='Memo'>" + items + "</document>", {{"documents", 1}}, {}},
        {"<document form='Memo'>" + items + "</document>", {{"documents", 1}}, {}},
        {"<note class='document'" + kNamespace + ">" + items + "</note>", {{"documents", 1}}, {}},
        {"<view" + kNamespace + " name='Orders'><code event='selection'><formula>SELECT Form = \"Order\"</formula>"
         "</code><column itemname='Customer'><columnheader title='Customer'/></column></view>", {{"views", 1}}, {}},
        {"<folder" + kNamespace + " name='Kept'><column itemname='Customer'/></folder>", {{"folders", 1}}, {}},
        {"<acl" + kNamespace + " maxinternetaccess='editor'><aclentry name='-Default-' default='true' level='author'/>"
         "<aclentry name='Admin' level='manager'/></acl>", {{"acl entries", 2}}, {}},
        {"<form" + kNamespace + " name='Order'><body><richtext><par>x</par></richtext></body></form>", {},
         {{"form", 1}}},
        {"<agent" + kNamespace + " name='Run'><trigger type='scheduled'/></agent>", {}, {{"agent", 1}}},
        {"<helpaboutdocument" + kNamespace + "><body><richtext><par>About</par></richtext></body>"
         "</helpaboutdocument>", {}, {{"helpaboutdocument", 1}}},
        {"<note class='view'" + kNamespace + "><item name='$TITLE'><text>V</text></item></note>", {},
         {{kNoteOfClass + std::string("view"), 1}}},
    };
    for (const Case& test : cases) {
        std::filesystem::remove(database_);
        connection_.reset();
        ImportSummary summary = importXml(kHead + test.root);
        EXPECT_EQ(summary.imported, test.imported) << test.root;
        EXPECT_EQ(summary.skipped, test.skipped) << test.root;
        EXPECT_TRUE(summary.complete()) << summary.report();
        EXPECT_EQ(store::NoteStore(db()).title(), "in") << test.root;
    }
    std::filesystem::remove(database_);
    EXPECT_THAT(errorOf(kHead + "<html><body/></html>"), HasSubstr("其根元素为 <html>"));
}

// Note format: the items as stored, with Form among them and the response
// link as raw data (a count, then 16 bytes for each parent).
TEST_F(DxlNotesTest, ANoteFormatDocumentKeepsItsItemsAndItsResponseLink) {
    ImportSummary summary = importXml(
        kHead + "<note class='document'" + kNamespace + ">" + noteInfo(kChild) +
        "<item name='$REF' summary='true'><rawitemdata type='4'>AQDQhIWlDsZk1cBWNgAvfCXB</rawitemdata></item>"
        "<item name='Form' summary='true'><text>Reply</text></item>"
        "<item name='$FILE' summary='true' sign='true' seal='true'><object><file hosttype='msdos' compression='none' "
        "flags='storedindoc' encoding='none' name='a.txt'><created><datetime>20010522T103636,81-04</datetime></created>"
        "<filedata>aGVsbG8=</filedata></file></object></item></note>");
    EXPECT_TRUE(summary.complete()) << summary.report();
    auto items = itemsOf(kChild);
    EXPECT_THAT(namesOf(items), ElementsAre("$REF", "Form", "$FILE"));
    EXPECT_EQ(item(items, "$REF").type, kNoteRefs);
    EXPECT_EQ(item(items, "$REF").values.list(), (ValueList{std::string("D564C60EA58584D0C1257C2F003656C0")}));
    EXPECT_EQ(item(items, "Form").values.list(), (ValueList{std::string("Reply")}));
    EXPECT_EQ(item(items, "$FILE").type, kAttachment);
    EXPECT_EQ(store::NoteStore(db()).attachments(noteIdOf(kChild)).at(0).size, 5);
}

// A document's form and parent are attributes of its element in document
// format; they become the items the platform keeps for them.
TEST_F(DxlNotesTest, FormAndResponseAttributesBecomeItems) {
    struct Case {
        std::string attributes;
        std::string items;
        std::vector<std::string> names;
        std::string form;
        ValueList link;  // the $REF item's values, empty for none
        std::string problem;
    };
    const std::string subject = "<item name='Subject'><text>re</text></item>";
    const std::vector<Case> cases = {
        {"form='Order'", subject, {"Form", "Subject"}, "Order", {}, ""},
        {"form='Order'", "<item name='form'><text>Other</text></item>", {"form"}, "Other", {}, ""},
        {"form='Reply' parent='" + kParent + "' response='true'", subject, {"Form", "$REF", "Subject"}, "Reply",
         {kParent}, ""},
        {"form='Order' parent='" + kParent + "' conflict='true'", subject, {"Form", "$REF", "Subject", "$Conflict"},
         "Order", {kParent}, ""},
        {"response='true'", subject, {"Subject"}, "", {}, "答复文档没有指出父文档"},
        {"parent='not-a-universal-id'", subject, {"$REF", "Subject"}, "", {}, "中不是父文档的通用 ID"},
    };
    for (const Case& test : cases) {
        std::filesystem::remove(database_);
        connection_.reset();
        ImportSummary summary = importXml(kHead + "<database" + kNamespace + "><document " + test.attributes + ">" +
                                          noteInfo(kChild) + test.items + "</document></database>");
        auto items = itemsOf(kChild);
        EXPECT_EQ(namesOf(items), test.names) << test.attributes;
        if (!test.form.empty()) {
            EXPECT_EQ(items.at(0).values.list(), (ValueList{test.form})) << test.attributes;
        }
        if (!test.link.empty()) {
            EXPECT_EQ(item(items, "$REF").type, kNoteRefs);
            EXPECT_EQ(item(items, "$REF").values.list(), test.link);
        }
        if (test.problem.empty()) EXPECT_TRUE(summary.complete()) << summary.report();
        else EXPECT_THAT(summary.report(), AllOf(HasSubstr("答复链接: 1"), HasSubstr(test.problem)));
    }
}

// Files given one by one and the XML files of a folder, sorted by name, go
// into one database titled after the first name unless the XML names one.
TEST_F(DxlNotesTest, SeveralFilesAndFoldersMakeOneDatabase) {
    auto documentFile = [&](const std::string& name, const std::string& unid) {
        return dir_.write(name, memo(unid));
    };
    const std::string outside = documentFile("outside.xml", "00000000000000000000000000000009");
    documentFile("notes/b.xml", "00000000000000000000000000000002");
    documentFile("notes/A.XML", "00000000000000000000000000000001");
    documentFile("notes/c.txt", "00000000000000000000000000000003");
    documentFile("notes/deeper/d.xml", "00000000000000000000000000000004");
    std::filesystem::create_symlink(outside, dir_.file("notes/link.xml"));
    std::filesystem::create_symlink(dir_.file("notes/deeper/d.xml"), dir_.file("notes/inside.xml"));
    const std::string acl = dir_.write("acl.xml", kHead + "<acl><aclentry name='Admin' level='manager'/></acl>");

    ImportSummary summary = importDxl({{acl, dir_.file("notes"), outside}, database_, false});
    EXPECT_EQ(summary.imported["documents"], 4);
    EXPECT_EQ(summary.imported["acl entries"], 1);
    EXPECT_THAT(summary.problems, ElementsAre(HasSubstr("link.xml: 指向文件夹以外的链接")));
    store::NoteStore notes(db());
    std::vector<std::string> unids;
    for (std::int64_t id : notes.noteIds()) unids.push_back(notes.header(id).value().unid);
    EXPECT_THAT(unids, ElementsAre("00000000000000000000000000000001", "00000000000000000000000000000002",
                                   "00000000000000000000000000000004", "00000000000000000000000000000009"));
    EXPECT_EQ(notes.title(), "acl");
}

// Whatever could be imported is written, said where and what is missing,
// with exit status 1; a second run is refused before reading anything,
// naming --overwrite.
TEST_F(DxlNotesTest, APartialImportIsWrittenAndSaidSo) {
    const std::string items = "<item name='Odd'><unknownvalue/></item><item name='Kept'><text>k</text></item>";
    const std::string xml = dir_.write("part.xml", memo(kParent, items));
    CommandRun partial = run({"--xml", xml, "--out", database_});
    EXPECT_EQ(partial.status, 1);
    EXPECT_THAT(partial.out, AllOf(HasSubstr("域: 1"), HasSubstr("已写入 " + database_ + "，但缺少")));
    EXPECT_THAT(namesOf(itemsOf(kParent)), ElementsAre("Form", "Kept"));

    CommandRun again = run({"--xml", dir_.file("missing.xml"), "--out", database_});
    EXPECT_EQ(again.status, 1);
    EXPECT_THAT(again.err, AllOf(HasSubstr("已存在"), HasSubstr("--overwrite")));

    CommandRun complete = run({"--xml", dir_.write("whole.xml", memo(kChild)), "--out", dir_.file("whole.nsf")});
    EXPECT_EQ(complete.status, 0);
    EXPECT_THAT(complete.out, HasSubstr("已写入 " + dir_.file("whole.nsf") + "\n"));
}

// A view formula that runs out of its work budget (here by comparing 256
// texts of 32 KB with 256 others) leaves the view without the document:
// the import names it and exits 1.
TEST_F(DxlNotesTest, DocumentsAViewFormulaRanOutOfItsBudgetOnMakeTheImportIncomplete) {
    std::string selection = "t := \"x\";";
    for (int i = 0; i < 15; ++i) selection += "t := t + t;";
    selection += "l := t;";
    for (int i = 0; i < 8; ++i) selection += "l := l : l;";
    selection += "SELECT l *= l + \"y\"";
    const std::string xml = dir_.write(
        "runaway.xml", kHead + "<database" + kNamespace + "><view name='Runaway'><code event='selection'><formula>" +
                           selection + "</formula></code></view><document form='Memo'>" + noteInfo(kParent) +
                           "</document></database>");
    CommandRun result = run({"--xml", xml, "--out", database_});
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.err, HasSubstr("视图“Runaway”，its selection formula，文档 " + kParent + ": 公式用完了其计算预算"));
    EXPECT_THAT(result.out, HasSubstr("已写入 " + database_ + "，但缺少"));
}

// --overwrite builds the new database beside the old one and replaces it
// only when complete: a failed import leaves the old one as it was.
TEST_F(DxlNotesTest, OverwriteReplacesAnExistingDatabaseOnlyWhenComplete) {
    const std::string good = dir_.write("good.xml", memo(kParent));
    const std::string bad = dir_.write("bad.xml", kHead + "<document form='Memo'>" + noteInfo(kChild) + "<item");
    ASSERT_EQ(run({"--xml", good, "--out", database_}).status, 0);
    ::chmod(database_.c_str(), 0640);
    const std::string before = TempDir::read(database_);

    CommandRun failed = run({"--xml", bad, "--out", database_, "--overwrite"});
    EXPECT_EQ(failed.status, 1);
    EXPECT_THAT(failed.err, HasSubstr("bad.xml，第 2 行"));
    EXPECT_TRUE(TempDir::read(database_) == before);
    EXPECT_THAT(filesLeft(), ElementsAre("bad.xml", "good.xml", "imported.nsf"));

    const std::string other = dir_.write("other.xml", memo(kChild));
    CommandRun replaced = run({"--xml", other, "--out", database_, "--overwrite"});
    EXPECT_EQ(replaced.status, 0) << replaced.err;
    store::NoteStore notes(db());
    ASSERT_EQ(notes.noteIds().size(), 1u);
    EXPECT_EQ(notes.header(notes.noteIds()[0]).value().unid, kChild);
    struct stat status {};
    ::stat(database_.c_str(), &status);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
    EXPECT_THAT(filesLeft(), ElementsAre("bad.xml", "good.xml", "imported.nsf", "other.xml"));

    // Through a link, the link's target is replaced and the link stays.
    std::filesystem::create_symlink(database_, dir_.file("link.nsf"));
    connection_.reset();
    EXPECT_EQ(run({"--xml", good, "--out", dir_.file("link.nsf"), "--overwrite"}).status, 0);
    EXPECT_TRUE(std::filesystem::is_symlink(dir_.file("link.nsf")));
    EXPECT_EQ(store::NoteStore(db()).header(1).value().unid, kParent);
}

// Entities are never read from outside the file; what they leave out is
// reported. Command lines without a name to read or write are refused as
// such, before anything is read.
TEST_F(DxlNotesTest, ExternalEntitiesAreReportedAndEmptyNamesRefused) {
    const std::string xml = dir_.write(
        "entity.xml", kHead + "<!DOCTYPE document [<!ENTITY e SYSTEM \"file:///etc/passwd\">]>\n"
                              "<document form='Memo'>" + noteInfo(kParent) +
                              "<item name='Subject'><text>a&e;b</text></item></document>");
    CommandRun entity = run({"--xml", xml, "--out", database_});
    EXPECT_EQ(entity.status, 1);
    EXPECT_THAT(entity.out, AllOf(HasSubstr("外部实体: 1"), HasSubstr("第 2 行"), HasSubstr("&e;"),
                                  HasSubstr("file:///etc/passwd")));
    EXPECT_EQ(item(itemsOf(kParent), "Subject").values.list(), (ValueList{std::string("ab")}));

    const std::string undeclared = dir_.write(
        "dtd.xml", kHead + "<!DOCTYPE document SYSTEM 'xmlschemas/domino_9_0.dtd'>\n<document form='Memo'>"
                           "<item name='Subject'><text>a&nbsp;b&nbsp;</text></item></document>");
    EXPECT_THAT(run({"--xml", undeclared, "--out", dir_.file("dtd.nsf")}).out,
                AllOf(HasSubstr("&nbsp; 在文件之外声明"), HasSubstr("对它的 2 处引用")));

    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--xml", xml, "--out", ""}, {"--xml", "", "--out", dir_.file("x.nsf")}, {"--out", dir_.file("x.nsf")}}) {
        CommandRun refused = run(args);
        EXPECT_EQ(refused.status, 2);
        EXPECT_THAT(refused.err, HasSubstr("选项 --"));
        EXPECT_EQ(refused.out, "");
    }
}

}  // namespace
}  // namespace velloran::tools::dxl
