// A received Internet mail imported as the platform exports it: its headers
// as RFC 822 text items and its body as MIME part items, all raw item data
// in base64, and a large part's body in an attached file.
#include "DxlImportFixture.h"
#include "MailBytes.h"
#include "dxl/DxlValues.h"
#include "store/ObjectFile.h"

#include <QByteArray>

#include <gmock/gmock.h>

namespace velloran::tools::dxl {
namespace {

using namespace notes;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

const std::string kUnid = "0123456789ABCDEF0123456789ABCDEF";
constexpr std::uint32_t kAddressHeader = 1, kDateHeader = 2, kTextHeader = 3;
constexpr std::uint32_t kBoundary = 1, kHeaders = 2, kInFile = 4;
constexpr int kProlog = 1, kBody = 2, kEpilog = 3;

// Base64 in lines of 76 characters, as the export writes it.
std::string base64Lines(const std::string& bytes) {
    QByteArray text = QByteArray::fromStdString(bytes).toBase64();
    std::string lines;
    for (qsizetype at = 0; at < text.size(); at += 76) lines += text.mid(at, 76).toStdString() + "\n";
    return lines;
}

std::string rawItem(const std::string& name, const std::string& type, const std::string& bytes) {
    return "<item name='" + name + "' summary='true'><rawitemdata type='" + type + "'>\n" + base64Lines(bytes) +
           "</rawitemdata></item>\n";
}

std::string header(const std::string& item, std::uint32_t format, const std::string& name, const std::string& body,
                   const std::string& native = {}) {
    return rawItem(item, "502", rfc822Bytes(format, native, name, ": ", body));
}

std::string mailXml(const std::string& items) {
    return "<?xml version='1.0' encoding='utf-8'?>\n<!DOCTYPE database>\n"
           "<database xmlns='http://www.lotus.com/dxl' version='9.0' maintenanceversion='1.0'>\n"
           "<document form='Memo'>\n<noteinfo noteid='8fa' unid='" + kUnid + "' sequence='1'>\n"
           "<created><datetime dst='true'>20260720T102035,12+08</datetime></created></noteinfo>\n" +
           items + "</document>\n</database>\n";
}

const std::string kAttached = std::string("%PDF-1.4\0\x01\xff", 11);

// Subject, From, SendTo, PostedDate and a multipart/mixed Body: a GB2312
// text part, and a PDF whose base64 body is in the attached file ATT4KXYZ.
std::string receivedMail() {
    std::string boundary = "\r\n--==B==\r\n";
    return header("Subject", kTextHeader, "Subject", "=?GB2312?B?1tDOxNb3zOI=?=") +
           header("From", kAddressHeader, "From", "=?UTF-8?Q?Jane_Do=C3=A9?= <jane@example.com>", "Jane Doe <jane@example.com>") +
           header("SendTo", kAddressHeader, "To", "bob@example.com,\r\n carol@example.com") +
           header("PostedDate", kDateHeader, "Date", "Mon, 20 Jul 2026 10:20:30 +0800", std::string(8, '\0')) +
           "<item name='$NoteHasNativeMIME'><text>1</text></item>\n" +
           rawItem("Body", "19",
                   mimePartBytes(kHeaders, kProlog, "", "Content-Type: multipart/mixed;\r\n\tboundary=\"==B==\"\r\n\r\n",
                                 "This is a multipart message in MIME format.")) +
           rawItem("Body", "19",
                   mimePartBytes(kBoundary | kHeaders, kBody, boundary,
                                 "Content-Type: text/plain; charset=GB2312\r\nContent-Transfer-Encoding: base64\r\n\r\n",
                                 "xOO6w6OsysC95w0Ktdq2/tDQ")) +
           rawItem("Body", "19",
                   mimePartBytes(kBoundary | kHeaders | kInFile, kBody, boundary,
                                 "Content-Type: application/pdf; name=\"=?GB2312?B?sai45i50eHQ=?=\"\r\n"
                                 "Content-Disposition: attachment; filename=\"=?GB2312?B?sai45i50eHQ=?=\"\r\n"
                                 "Content-Transfer-Encoding: base64\r\n\r\n",
                                 "ATT4KXYZ")) +
           rawItem("Body", "19", mimePartBytes(kBoundary, kEpilog, "\r\n--==B==--\r\n", "", "")) +
           "<item name='$FILE' summary='true' sign='true' seal='true'><object><file hosttype='bytearraypage' "
           "compression='none' flags='storedindoc' encoding='none' name='ATT4KXYZ'><created><datetime>"
           "20260720T102035,12+08</datetime></created><modified><datetime>20260720T102035,12+08</datetime>"
           "</modified><filedata>\n" + base64Lines(base64Lines(kAttached)) + "</filedata></file></object></item>\n";
}

class DxlMailTest : public DxlImportFixture {
protected:
    std::vector<std::string> bodyLines(const store::StoredItem& body) {
        std::vector<std::string> lines;
        for (const store::RichTextParagraph& paragraph : store::NoteStore(db()).richText(noteIdOf(kUnid), body.seq))
            lines.push_back(textOf(paragraph));
        return lines;
    }
};

TEST_F(DxlMailTest, AReceivedMailImportsWithItsHeadersBodyAndAttachment) {
    ImportSummary summary = importXml(mailXml(receivedMail()));
    EXPECT_TRUE(summary.problems.empty()) << summary.report();
    std::vector<store::StoredItem> items = itemsOf(kUnid);

    EXPECT_EQ(item(items, "Subject").type, kText);
    EXPECT_EQ(item(items, "Subject").values.list(), ValueList{std::string("中文主题")});
    EXPECT_EQ(item(items, "From").values.list(), ValueList{std::string("Jane Doé <jane@example.com>")});
    EXPECT_EQ(item(items, "SendTo").values.list(), ValueList{std::string("bob@example.com, carol@example.com")});
    EXPECT_EQ(item(items, "PostedDate").type, kDateTime);
    EXPECT_EQ(item(items, "PostedDate").values.list(), ValueList{*parseDateTime("20260720T022030Z")});

    std::vector<std::string> names, files;
    for (const store::StoredItem& stored : items) {
        names.push_back(stored.name);
        if (stored.type == kAttachment) files.push_back(std::get<std::string>(stored.values.list().at(0)));
    }
    EXPECT_EQ(std::count(names.begin(), names.end(), "Body"), 1);
    EXPECT_EQ(item(items, "Body").type, kRichText);
    EXPECT_THAT(bodyLines(item(items, "Body")), ElementsAre("你好，世界", "第二行"));

    EXPECT_THAT(files, ElementsAre("报告.txt"));
    auto attachments = store::NoteStore(db()).attachments(noteIdOf(kUnid));
    ASSERT_EQ(attachments.size(), 1u);
    std::string extracted = dir_.file("extracted");
    store::extractObject(db(), attachments[0], extracted);
    EXPECT_EQ(attachments[0].name, "报告.txt");
    EXPECT_EQ(testing::TempDir::read(extracted), kAttached);
}

// With its MIME option the export writes the whole mail as one MIME text
// in a <mime> element, beside the document's other items.
TEST_F(DxlMailTest, AMailExportedAsMimeTextImportsTheSame) {
    ImportSummary summary = importXml(mailXml(
        "<item name='Subject'><text>kept</text></item>\n<mime><![CDATA[MIME-Version: 1.0\r\n"
        "Subject: replaced?\r\nFrom: =?UTF-8?B?5byg5LiJ?= <zhang@example.com>\r\nTo: a@example.com\r\n"
        "Date: Mon, 20 Jul 2026 10:20:30 +0800\r\nContent-Type: multipart/mixed; boundary=\"b\"\r\n\r\n"
        "--b\r\nContent-Type: text/html; charset=UTF-8\r\n\r\n<p>Hello <b>world</b></p><p>again</p>\r\n"
        "--b\r\nContent-Type: text/plain; name=\"a.txt\"\r\nContent-Transfer-Encoding: base64\r\n\r\nYWJj\r\n"
        "--b--\r\n]]></mime>\n"));
    EXPECT_TRUE(summary.problems.empty()) << summary.report();
    std::vector<store::StoredItem> items = itemsOf(kUnid);
    EXPECT_EQ(item(items, "Subject").values.list(), ValueList{std::string("kept")});
    EXPECT_EQ(item(items, "From").values.list(), ValueList{std::string("张三 <zhang@example.com>")});
    EXPECT_EQ(item(items, "SendTo").values.list(), ValueList{std::string("a@example.com")});
    EXPECT_EQ(item(items, "PostedDate").values.list(), ValueList{*parseDateTime("20260720T022030Z")});
    EXPECT_THAT(bodyLines(item(items, "Body")), ElementsAre("Hello world", "", "again"));
    auto attachments = store::NoteStore(db()).attachments(noteIdOf(kUnid));
    ASSERT_EQ(attachments.size(), 1u);
    EXPECT_EQ(attachments[0].name, "a.txt");
}

// Mail items whose lengths lie stay raw data, as before, and each is
// counted with where it is; the rest of the document imports.
TEST_F(DxlMailTest, MalformedMailItemsStayRawAndAreCounted) {
    std::string subject = rfc822Bytes(kTextHeader, "", "Subject", ": ", "Hello");
    std::string lyingBody = mimePartBytes(kHeaders, kBody, "", "Content-Type: text/plain\r\n\r\n", "text");
    lyingBody[8] = '\x7f';  // its byte count runs past its end
    ImportSummary summary = importXml(mailXml(rawItem("Subject", "502", subject.substr(0, subject.size() - 2)) +
                                              rawItem("Body", "19", lyingBody) +
                                              rawItem("Other", "19",
                                                      mimePartBytes(kHeaders | kInFile, kBody, "", "Content-Type: "
                                                                    "text/plain\r\n\r\n", "ATTGONE")) +
                                              header("Fine", kTextHeader, "X-Fine", "fine")));
    EXPECT_EQ(summary.unreadable["item"], 3) << summary.report();
    ASSERT_EQ(summary.problems.size(), 3u);
    EXPECT_THAT(summary.problems[0], AllOf(HasSubstr("第 7 行"), HasSubstr("Subject"), HasSubstr("按原始数据保留")));
    EXPECT_THAT(summary.problems[1], HasSubstr("Body"));
    EXPECT_THAT(summary.problems[2], AllOf(HasSubstr("Other"), HasSubstr("ATTGONE")));
    std::vector<store::StoredItem> items = itemsOf(kUnid);
    EXPECT_EQ(item(items, "Subject").type, kRawData);
    EXPECT_EQ(item(items, "Body").type, kRawData);
    EXPECT_EQ(item(items, "Other").type, kRawData);
    EXPECT_EQ(item(items, "Fine").values.list(), ValueList{std::string("fine")});
}

}  // namespace
}  // namespace velloran::tools::dxl
