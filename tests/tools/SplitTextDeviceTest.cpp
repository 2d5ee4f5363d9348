// Long texts of the XML reach the reader in pieces, unchanged.
#include "common/ToolError.h"
#include "dxl/XmlCursor.h"

#include <QBuffer>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace velloran::tools::dxl {
namespace {

using ::testing::HasSubstr;

// The text of the root's first child, and the longest piece it came in.
struct ReadText {
    std::string text;
    qsizetype longestPiece = 0;
};

ReadText readFirstChild(const QByteArray& xml) {
    QBuffer buffer;
    buffer.setData(xml);
    buffer.open(QIODevice::ReadOnly);
    XmlCursor cursor(buffer);
    cursor.toRoot();
    cursor.nextChild();
    ReadText read;
    while (cursor.xml().readNext() != QXmlStreamReader::EndElement) {
        cursor.checkWellFormed();
        read.text += cursor.xml().text().toString().toStdString();
        read.longestPiece = std::max(read.longestPiece, cursor.xml().text().size());
    }
    return read;
}

std::string longText() {
    std::string text;
    for (int i = 0; text.size() < 400000; ++i) text += i % 7 == 0 ? "é中😀&amp;\r\n" : "abcdefghij";
    return text;
}

// The text as the reader gives it back: entities resolved, line ends as "\n".
std::string decoded(const std::string& text) {
    std::string out;
    for (std::size_t at = 0; at < text.size();) {
        if (text.compare(at, 5, "&amp;") == 0) out += '&', at += 5;
        else if (text.compare(at, 2, "\r\n") == 0) out += '\n', at += 2;
        else out += text[at++];
    }
    return out;
}

TEST(SplitTextDeviceTest, LongTextComesInPiecesAndUnchanged) {
    std::string text = longText();
    ReadText read = readFirstChild(QByteArray::fromStdString("<r><a>" + text + "</a></r>"));
    EXPECT_EQ(read.text, decoded(text));
    EXPECT_LE(read.longestPiece, SplitTextDevice::kRunLength + 16);
}

TEST(SplitTextDeviceTest, MarkupIsNeverSplit) {
    std::string value(200000, 'v');
    value[1000] = '>';
    std::string comment = std::string("<!-- ").append(200000, '>').append(" -->");
    std::string xml = "<r><a b='" + value + "' c=\">\">" + comment;
    xml.append("<![CDATA[").append(150000, ']').append("x]]><?pi ").append(100000, '?').append("x?>tail</a></r>");
    QBuffer buffer;
    buffer.setData(QByteArray::fromStdString(xml));
    buffer.open(QIODevice::ReadOnly);
    XmlCursor cursor(buffer);
    cursor.toRoot();
    cursor.nextChild();
    EXPECT_EQ(cursor.attribute("b"), value);
    EXPECT_EQ(cursor.attribute("c"), ">");
    std::string text = cursor.text();
    EXPECT_EQ(text, std::string(150000, ']') + "x" + "tail");
}

TEST(SplitTextDeviceTest, ErrorsNameTheColumnOfTheFile) {
    for (std::string lead : {std::string(), std::string("line\n")}) {
        QByteArray xml = QByteArray::fromStdString(lead.append("<r><a>").append(300000, 'x').append("é</b></r>"));
        QXmlStreamReader plain(xml);
        while (!plain.atEnd()) plain.readNext();
        std::string expected = std::string("line ").append(std::to_string(plain.lineNumber())).append(", column ");
        expected += std::to_string(plain.columnNumber());
        try {
            readFirstChild(xml);
            ADD_FAILURE() << "no error";
        } catch (const ToolError& e) {
            EXPECT_THAT(e.what(), HasSubstr(expected));
        }
    }
}

}  // namespace
}  // namespace velloran::tools::dxl
