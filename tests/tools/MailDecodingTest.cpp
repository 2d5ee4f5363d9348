// The decoders of received mail on byte strings laid out as the platform
// stores them: RFC 822 header items, MIME part items, encoded words, dates
// and whole MIME bodies.
#include "MailBytes.h"
#include "dxl/DxlValues.h"
#include "dxl/HtmlText.h"
#include "dxl/MimeMessage.h"
#include "dxl/MimeParts.h"
#include "dxl/Rfc822Items.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>

namespace velloran::tools::dxl {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct HeaderCase {
    const char* what;
    std::string bytes;
    std::optional<std::string> text;  // nothing: the item is refused
};

TEST(MailDecodingTest, Rfc822ItemsGiveTheirHeaderText) {
    const std::string subject = rfc822Bytes(3, "Hello", "Subject", ": ", "Hello");
    const std::vector<HeaderCase> cases = {
        {"plain ASCII", subject, "Hello"},
        {"after the type word", rfc822Bytes(3, "Hello", "Subject", ": ", "Hello", true), "Hello"},
        {"a GB2312 B word", rfc822Bytes(3, "", "Subject", ": ", "=?GB2312?B?1tDOxNb3zOI=?="), "中文主题"},
        {"a UTF-8 Q word", rfc822Bytes(3, "", "Subject", ": ", "=?UTF-8?Q?caf=C3=A9_au_lait?="), "café au lait"},
        {"a character split between two words",
         rfc822Bytes(3, "", "Subject", ": ", "=?gb2312?B?1tDO?=\r\n =?gb2312?B?xNb3zOI=?="), "中文主题"},
        {"words amid plain text", rfc822Bytes(3, "", "Subject", ": ", "Re: =?UTF-8?B?5Lit?= and more"),
         "Re: 中 and more"},
        {"folded lines", rfc822Bytes(3, "", "Subject", ": ", "a long\r\n\tsubject\r\n line"), "a long\tsubject line"},
        {"an empty body, the native text", rfc822Bytes(1, "Jane Doe <jane@example.com>", "From", ": ", ""),
         "Jane Doe <jane@example.com>"},
        {"a malformed word kept", rfc822Bytes(3, "", "Subject", ": ", "=?UTF-8?X?abc?= =?oops"),
         "=?UTF-8?X?abc?= =?oops"},
        {"a body length past the end", subject.substr(0, subject.size() - 1), std::nullopt},
        {"a name length that lies", subject.substr(0, 8) + le16(0xffff) + subject.substr(10), std::nullopt},
        {"a truncated descriptor", subject.substr(0, 13), std::nullopt},
        {"nothing", "", std::nullopt},
    };
    for (const HeaderCase& c : cases) {
        std::optional<Rfc822Item> item = parseRfc822Item(c.bytes);
        ASSERT_EQ(item.has_value(), c.text.has_value()) << c.what;
        if (!item) continue;
        UnknownCharsets unknown;
        std::string text = item->body.empty() ? item->native : decodeHeaderText(item->body, unknown);
        EXPECT_EQ(text, *c.text) << c.what;
        EXPECT_THAT(unknown, IsEmpty()) << c.what;
    }
}

TEST(MailDecodingTest, UnknownCharsetsKeepTheirBytesAndAreNamed) {
    UnknownCharsets unknown;
    EXPECT_EQ(decodeHeaderText("=?x-martian?B?5Lit?= or =?x-martian?Q?caf=E9?=", unknown), "中 or café");
    EXPECT_THAT(unknown, ElementsAre("x-martian"));
    EXPECT_EQ(toUtf8("\xd6\xd0", "GBK", unknown), "中");
    EXPECT_EQ(toUtf8("caf\xe9", "", unknown), "café");
    EXPECT_THAT(unknown, ElementsAre("x-martian"));
}

TEST(MailDecodingTest, MailDatesAreMoments) {
    const std::vector<std::pair<std::string, std::optional<std::string>>> cases = {
        {"Mon, 20 Jul 2026 10:20:30 +0800", "20260720T022030Z"},
        {"20 Jul 2026 10:20 -0430", "20260720T145000Z"},
        {"Mon, 20 Jul 26 10:20:30 GMT (UTC)", "20260720T102030Z"},
        {"Tue, 1 Dec 1998 08:00:00 EST", "19981201T130000Z"},
        {"Mon, 31 Feb 2026 10:20:30 +0800", std::nullopt},
        {"yesterday", std::nullopt},
        {"Mon, 20 Jul", std::nullopt},
    };
    for (const auto& [text, moment] : cases) {
        std::optional<notes::DateTime> parsed = parseMailDate(text);
        ASSERT_EQ(parsed.has_value(), moment.has_value()) << text;
        if (moment) {
            EXPECT_EQ(*parsed, *parseDateTime(*moment)) << text;
        }
    }
}

TEST(MailDecodingTest, MimePartItemsSplitIntoBoundaryHeadersAndBody) {
    const std::string part = mimePartBytes(3, 2, "\r\n--b\r\n", "Content-Type: text/plain\r\n\r\n", "hi");
    for (const std::string& bytes : {part, mimePartBytes(3, 2, "\r\n--b\r\n", "Content-Type: text/plain\r\n\r\n", "hi", true)}) {
        std::optional<MimePartItem> read = parseMimePartItem(bytes);
        ASSERT_TRUE(read);
        EXPECT_EQ(read->flags, 3u);
        EXPECT_EQ(read->partType, 2);
        EXPECT_EQ(read->boundary, "\r\n--b\r\n");
        EXPECT_EQ(read->headers, "Content-Type: text/plain\r\n\r\n");
        EXPECT_EQ(read->body, "hi");
        EXPECT_FALSE(read->bodyInObject());
    }
    std::string lyingCount = part;
    lyingCount.replace(8, 2, le16(part.size()));  // more bytes than there are
    std::string lyingBoundary = part;
    lyingBoundary.replace(10, 2, le16(0xfff0));  // boundary longer than the part
    for (const std::string& bytes : {lyingCount, lyingBoundary, part.substr(0, 19), std::string()})
        EXPECT_FALSE(parseMimePartItem(bytes)) << bytes.size();
}

struct BodyCase {
    const char* what;
    std::string mime;
    std::string text;
    std::vector<std::string> attachments;  // "name=bytes"
};

TEST(MailDecodingTest, MimeBodiesGiveTheirTextAndAttachments) {
    const std::vector<BodyCase> cases = {
        {"plain only", "Content-Type: text/plain; charset=us-ascii\r\n\r\nline one\r\nline two\r\n",
         "line one\nline two\n", {}},
        {"no headers at all", "\r\njust text", "just text", {}},
        {"html only",
         "Content-Type: text/html; charset=utf-8\r\n\r\n<html><head><style>p{}</style></head><body><p>Hi&nbsp;&amp; "
         "bye</p><p>two<br>lines &#20013;</p><script>x()</script></body></html>",
         "Hi & bye\n\ntwo\nlines 中", {}},
        {"alternative takes the plain part",
         "Content-Type: multipart/alternative; boundary=\"alt\"\r\n\r\nprologue\r\n--alt\r\n"
         "Content-Type: text/plain; charset=UTF-8\r\n\r\nplain\r\n--alt\r\nContent-Type: text/html\r\n\r\n"
         "<b>html</b>\r\n--alt--\r\nepilogue\r\n",
         "plain", {}},
        {"mixed with a base64 attachment named in GB2312",
         "Content-Type: multipart/mixed; boundary=\"=_mix\"\r\n\r\n--=_mix\r\nContent-Type: text/plain\r\n\r\nsee "
         "attached\r\n--=_mix\r\nContent-Type: application/octet-stream; name=\"=?GB2312?B?sai45i50eHQ=?=\"\r\n"
         "Content-Disposition: attachment; filename=\"=?GB2312?B?sai45i50eHQ=?=\"\r\n"
         "Content-Transfer-Encoding: base64\r\n\r\nAAFi\r\naW5hcnn/\r\n--=_mix--\r\n",
         "see attached", {std::string("报告.txt=\0\1binary\xff", 20)}},
        {"an RFC 2231 file name and a nameless image",
         "Content-Type: multipart/mixed; boundary=m\r\n\r\n--m\r\nContent-Type: text/plain\r\n\r\nbody\r\n--m\r\n"
         "Content-Type: text/plain\r\nContent-Disposition: attachment;\r\n filename*=UTF-8''%E4%B8%AD%2Etxt\r\n\r\n"
         "note\r\n--m\r\nContent-Type: image/png\r\nContent-Transfer-Encoding: base64\r\n\r\nUE5H\r\n--m--",
         "body", {"中.txt=note", "part-2.png=PNG"}},
        {"quoted-printable GB2312",
         "Content-Type: text/plain; charset=gb2312\r\nContent-Transfer-Encoding: quoted-printable\r\n\r\n"
         "=C4=E3=BA=C3=A3=AC=CA=C0=BD=E7 soft=\r\nbreak",
         "你好，世界 softbreak", {}},
        {"base64 GB2312 lines",
         "Content-Type: text/plain; charset=\"GB2312\"\r\nContent-Transfer-Encoding: base64\r\n\r\nxOO6w6OsysC95w0Ktdq2/tDQ\r\n",
         "你好，世界\n第二行", {}},
        {"a boundary that never comes",
         "Content-Type: multipart/mixed; boundary=gone\r\n\r\n--other\r\n\r\nlost?\r\n", "", {}},
        {"a multipart without a boundary is kept",
         "Content-Type: multipart/mixed\r\n\r\nraw", "", {"part-1.mixed=raw"}},
        {"a part running to the end without a close delimiter",
         "Content-Type: multipart/mixed; boundary=b\r\n\r\n--b\r\n\r\nunclosed", "unclosed", {}},
    };
    for (const BodyCase& c : cases) {
        MailBody body = readMimeEntity(c.mime);
        EXPECT_EQ(body.text, c.text) << c.what;
        std::vector<std::string> attachments;
        for (const MailAttachment& attachment : body.attachments) attachments.push_back(attachment.name + "=" + attachment.bytes);
        EXPECT_EQ(attachments, c.attachments) << c.what;
        EXPECT_THAT(body.unknownCharsets, IsEmpty()) << c.what;
    }
}

TEST(MailDecodingTest, HtmlBodiesBecomeTheirReadableText) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"<table><tr><td>a</td><td>b</td></tr><tr><td>c</td></tr></table>", "a b\nc"},
        {"<pre>one\n  two</pre>after", "one\ntwo\nafter"},
        {"&lt;tag&gt; &#x4E2D;&#20013; &bogus; &#99999999; &", "<tag> 中中 &bogus; \xEF\xBF\xBD &"},
        {"<STYLE>p { }</STYLE><SCRIPT>x()</SCRIPT>shown", "shown"},
        {"a<script>never closed", "anever closed"},
        {"a<!-- never closed", "a"},
        {"<p>\n  spaced\n   out  </p>\n\n\n<p>next</p><br><br><br>", "spaced out\n\nnext"},
        {"unclosed <b", "unclosed"},
    };
    for (const auto& [html, text] : cases) EXPECT_EQ(htmlToText(html), text) << html;
}

// Parts nested past the bound are kept whole and said; a body of many tiny
// parts stops at the bound; unclosed words, references and scripts do not
// make the work grow with the square of the text.
TEST(MailDecodingTest, HostileInputsAreBounded) {
    std::string openWords, openHtml;
    for (int i = 0; i < 100000; ++i) openWords += "=?a?Q?x";
    for (int i = 0; i < 50000; ++i) openHtml += "&<script>&#";
    UnknownCharsets unknown;
    EXPECT_EQ(decodeHeaderText(openWords, unknown), openWords);
    EXPECT_EQ(htmlToText(openHtml).size(), 50000u * 3);

    std::string nested = "x";
    for (int depth = 0; depth < 200; ++depth)
        nested = "Content-Type: multipart/mixed; boundary=b" + std::to_string(depth) + "\r\n\r\n--b" +
                 std::to_string(depth) + "\r\n" + nested + "\r\n--b" + std::to_string(depth) + "--\r\n";
    MailBody deep = readMimeEntity(nested);
    EXPECT_EQ(deep.attachments.size(), 1u);
    EXPECT_EQ(deep.problems.size(), 1u);

    std::string many = "Content-Type: multipart/mixed; boundary=b\r\n\r\n";
    for (int i = 0; i < 20000; ++i) many += "--b\r\n\r\nx\r\n";
    MailBody wide = readMimeEntity(many);
    EXPECT_EQ(wide.problems.size(), 1u);
    EXPECT_LT(wide.text.size(), 3u * 10000);
}

}  // namespace
}  // namespace velloran::tools::dxl
