// Long texts of the XML reach the reader in pieces, unchanged.
#include "common/ToolError.h"
#include "dxl/XmlCursor.h"

#include <QBuffer>
#include <QFile>
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

// Where Qt's reader, given the file as it is, stops on its error.
std::string plainPosition(const QByteArray& xml) {
    QXmlStreamReader plain(xml);
    while (!plain.atEnd()) plain.readNext();
    return "第 " + std::to_string(plain.lineNumber()) + " 行第 " + std::to_string(plain.columnNumber()) + " 列:";
}

// The error of reading `xml` through the cursor, which names a position.
std::string cursorError(const QByteArray& xml) {
    QBuffer buffer;
    buffer.setData(xml);
    buffer.open(QIODevice::ReadOnly);
    XmlCursor cursor(buffer);
    try {
        while (!cursor.xml().atEnd()) {
            cursor.xml().readNext();
            cursor.checkWellFormed();
        }
    } catch (const Failure& e) {
        return e.what();
    }
    return "no error";
}

TEST(SplitTextDeviceTest, ErrorsNameTheColumnOfTheFile) {
    for (std::string lead : {std::string(), std::string("line\n")}) {
        QByteArray xml = QByteArray::fromStdString(lead.append("<r><a>").append(300000, 'x').append("é</b></r>"));
        EXPECT_THAT(cursorError(xml), HasSubstr(plainPosition(xml)));
    }
}

// The reader gets line ends and a stand-in for the base64 text; an error
// after it still names the file's line and column.
TEST(SplitTextDeviceTest, ErrorsAfterFileDataNameTheFilesPosition) {
    std::string manyLines;
    for (int i = 0; i < 70000; ++i) manyLines += "QUJD\n";
    const std::string longLine(100000, 'A');
    for (const std::string& xml : std::vector<std::string>{
             "<r><filedata>QUJD\r\nQUJD\nQQ==</filedata><b></c></r>",
             "<r><filedata>\nQUJD\rQUJD\n</filedata>\n<b> é</c></r>",
             "<r><filedata>" + longLine + "</filedata><b></c></r>",
             "<r><filedata>" + manyLines + "QQ==</filedata><b></c></r>",
             "<r><filedata a='>'>QUJD</filedata><filedata>\nQU&#74;D</filedata><d:filedata xmlns:d='u'>QUJD\n"
             "QUJD</d:filedata><filedata/>QUJD<b></c></r>",
             "<r><filedata>QU<!-- x -->JD\nQUJD</filedata>\n\n</r></r>",
             "<r>\n<filedata>QUJD\nQU",
         }) {
        QByteArray bytes = QByteArray::fromStdString(xml);
        EXPECT_THAT(cursorError(bytes), HasSubstr(plainPosition(bytes))) << xml.substr(0, 80); 
    }
}

// Line ends are all that the reader gets of the base64 text, in pieces no
// longer than other texts, and the data is the decoded text.
TEST(SplitTextDeviceTest, FileDataGoesAroundTheReader) {
    std::string text;
    for (int i = 0; i < 100000; ++i) text += "QUJD\r\n";
    ReadText read = readFirstChild(QByteArray::fromStdString("<r><filedata>" + text + "RA==</filedata></r>"));
    EXPECT_EQ(read.text.find_first_not_of('\n'), 100000u);
    EXPECT_EQ(read.text.find('Q'), std::string::npos);
    EXPECT_LE(read.longestPiece, SplitTextDevice::kRunLength + 64);

    QBuffer buffer;
    buffer.setData("<r><filedata>\nQUJD\nRA==</filedata></r>");
    buffer.open(QIODevice::ReadOnly);
    XmlCursor cursor(buffer);
    cursor.toRoot();
    cursor.nextChild();
    cursor.xml().readNext();
    QStringView standIn = cursor.xml().text();
    std::optional<SpooledData> data = cursor.takeSpooled(standIn);
    ASSERT_TRUE(data);
    EXPECT_TRUE(standIn.isEmpty());
    data->bytes->finish();
    QFile file(QString::fromStdString(data->path));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "ABCD");
    QStringView again = cursor.xml().text();
    EXPECT_FALSE(cursor.takeSpooled(again));
    QStringView forged = u"#1:0#";
    EXPECT_FALSE(cursor.takeSpooled(forged));
}

}  // namespace
}  // namespace velloran::tools::dxl
