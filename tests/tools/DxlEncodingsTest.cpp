// XML exports in every encoding their declaration can name: texts longer
// than the pieces the reader gets come back whole, attachments decode, and
// errors and unreadable bytes are reported at the file's line and column.
#include "DxlImportFixture.h"
#include "dxl/SplitTextDevice.h"
#include "store/ObjectFile.h"

#include <QRegularExpression>
#include <QStringEncoder>
#include <QXmlStreamReader>
#include <gmock/gmock.h>
#include <utility>

namespace velloran::tools::dxl {
namespace {

using namespace notes;
using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::Not;
using testing::TempDir;

const std::string kUnid = "00000000000000000000000000000001";

struct Encoding {
    const char* name;      // as Qt knows it
    bool byteOrderMark;
    const char* declared;  // what the XML declaration says; none when null
    QString sample;        // characters the encoding has
};

const Encoding kGb18030{"GB18030", false, "GB18030", QString::fromUtf8("订单编号😀")};
const Encoding kUtf16{"UTF-16LE", true, "UTF-16", QString::fromUtf8("订单编号😀")};

std::string encoded(const QString& text, const Encoding& encoding) {
    QStringEncoder encoder(encoding.name, encoding.byteOrderMark ? QStringConverter::Flag::WriteBom
                                                                 : QStringConverter::Flag::Default);
    QByteArray bytes = encoder(text);
    EXPECT_TRUE(encoder.isValid() && !encoder.hasError()) << encoding.name;
    return bytes.toStdString();
}

// A document's start as the platform writes it; its items follow on the
// third line.
QString documentStart(const Encoding& encoding) {
    QString declared = encoding.declared ? QStringLiteral(" encoding='%1'").arg(encoding.declared) : QString();
    return "<?xml version='1.0'" + declared + "?>\n<database xmlns='http://www.lotus.com/dxl' version='9.0'>\n"
           "<document form='Memo'><noteinfo unid='" + QString::fromStdString(kUnid) + "'/>";
}

const QString kDocumentEnd = "</document>\n</database>\n";

// More than two pieces of the reader's length, of `sample` and numbers.
QString longText(const QString& sample) {
    QString text;
    for (int i = 0; text.size() <= 2 * SplitTextDevice::kRunLength + 1000; ++i)
        text += sample + QString::number(i) + (i % 100 == 99 ? "\n" : " ");
    return text;
}

class DxlEncodingsTest : public DxlImportFixture {
protected:
    // The `index`th database of the test is the next to import into.
    void useDatabase(std::size_t index) {
        connection_.reset();
        database_ = dir_.file(std::to_string(index) + ".nsf");
    }

    std::string attachedBytes() {
        std::vector<store::StoredObject> attached = store::NoteStore(db()).attachments(noteIdOf(kUnid));
        if (attached.size() != 1) return "attachments: " + std::to_string(attached.size());
        std::string target = dir_.file("attached");
        store::extractObject(db(), attached[0], target);
        return TempDir::read(target);
    }
};

TEST_F(DxlEncodingsTest, LongTextsAndAttachmentsComeBackInEveryEncoding) {
    QByteArray data;
    for (int i = 0; i < 5000; ++i) data += static_cast<char>(i * 7);
    // In lines of 76 characters, as the platform writes it.
    QString base64 = QString::fromLatin1(data.toBase64()).replace(QRegularExpression("(.{76})"), "\\1\n");
    const std::vector<Encoding> encodings = {
        {"UTF-8", false, "utf-8", QString::fromUtf8("订单编号é😀")},
        {"UTF-8", true, nullptr, QString::fromUtf8("订单编号é😀")},
        kUtf16,
        {"UTF-16BE", true, "UTF-16", QString::fromUtf8("订单编号😀")},
        {"UTF-16LE", false, "UTF-16", QString::fromUtf8("订单编号😀")},
        {"UTF-32BE", true, "UTF-32", QString::fromUtf8("订单编号😀")},
        kGb18030,
        {"GBK", false, "GBK", QString::fromUtf8("订单编号")},
        {"Big5", false, "Big5", QString::fromUtf8("訂單編號")},
        {"Shift_JIS", false, "Shift_JIS", QString::fromUtf8("注文番号ｶﾀｶﾅ")},
        {"ISO-8859-1", false, "ISO-8859-1", QString::fromUtf8("déjà reçu ÿ")},
        {"windows-1252", false, "windows-1252", QString::fromUtf8("€ “déjà” œ")},
    };
    for (std::size_t i = 0; i < encodings.size(); ++i) {
        const Encoding& encoding = encodings[i];
        QString text = longText(encoding.sample);
        QString xml = documentStart(encoding) + "<item name='Body'><text>" + text + "</text></item>\n" +
                      "<item name='$FILE'><object><file name='a.bin'><filedata>\n" +
                      base64 + "\n</filedata></file></object></item>\n" +
                      "<item name='After'><text>" + encoding.sample + " &amp;</text></item>" + kDocumentEnd;
        SCOPED_TRACE(std::string(encoding.name) + (encoding.byteOrderMark ? " with a byte order mark" : ""));
        useDatabase(i);
        importXml(encoded(xml, encoding));
        auto items = itemsOf(kUnid);
        EXPECT_EQ(item(items, "Body").values.list(), (ValueList{text.toStdString()}));
        EXPECT_EQ(item(items, "After").values.list(), (ValueList{(encoding.sample + " &").toStdString()}));
        EXPECT_EQ(attachedBytes(), data.toStdString());
    }
}

// Where Qt's reader stops on its error, reading the text itself.
std::string positionIn(const QString& xml) {
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) reader.readNext();
    return "第 " + std::to_string(reader.lineNumber()) + " 行第 " + std::to_string(reader.columnNumber()) + " 列:";
}

TEST_F(DxlEncodingsTest, ErrorsNameTheLineAndColumnOfTheFile) {
    const std::vector<Encoding> encodings = {kGb18030, kUtf16};
    for (std::size_t i = 0; i < encodings.size(); ++i) {
        const Encoding& encoding = encodings[i];
        QString xml = documentStart(encoding) + "<item name='Body'><text>" +
                      longText(encoding.sample).replace('\n', ' ') + "</txt></item>" + kDocumentEnd;
        useDatabase(i);
        EXPECT_THAT(errorOf(encoded(xml, encoding)), AllOf(HasSubstr(positionIn(xml)), HasSubstr("XML 格式错误")))
            << encoding.name;
    }
}

// Bytes the file's encoding cannot read refuse the file at their place,
// however far into it they are, and even after the database's end.
TEST_F(DxlEncodingsTest, BytesTheEncodingCannotReadAreRefusedWhereTheyAre) {
    const Encoding shiftJis{"Shift_JIS", false, "Shift_JIS", QString::fromUtf8("注文番号")};
    struct Case {
        Encoding encoding;
        std::string invalid;
        bool afterTheEnd;
    };
    const std::vector<Case> cases = {{kGb18030, "\xff", false},
                                     {kGb18030, "\x81\x20", false},
                                     {shiftJis, "\xa0", false},
                                     {kUtf16, std::string("\x00\xdc", 2), false},
                                     {kUtf16, "\x3d\xd8", true},
                                     {kGb18030, "\xff", true}};
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Encoding& encoding = cases[i].encoding;
        QString before =
            documentStart(encoding) + "<item name='Body'><text>" + longText(encoding.sample).replace('\n', ' ');
        QString after = "</text></item>" + kDocumentEnd;
        if (cases[i].afterTheEnd) before += std::exchange(after, QString());
        Encoding unmarked = encoding;
        unmarked.byteOrderMark = false;
        std::string file = encoded(before, encoding) + cases[i].invalid + encoded(after, unmarked);
        std::string position = "第 " + std::to_string(before.count('\n') + 1) + " 行第 " +
                               std::to_string(before.size() - before.lastIndexOf('\n') - 1) + " 列: ";
        useDatabase(i);
        EXPECT_THAT(errorOf(file), HasSubstr(position + "这里的字节不是文件的编码 " + encoding.name + " 的有效文本"))
            << encoding.name << " " << QByteArray::fromStdString(cases[i].invalid).toHex().toStdString();
    }
}

TEST_F(DxlEncodingsTest, AnEncodingThatCannotBeReadIsRefusedByName) {
    const std::string items = "<database xmlns='http://www.lotus.com/dxl'><document/></database>";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"<?xml version='1.0' encoding='x-velloran-unknown'?>",
         "文件的编码为 \"x-velloran-unknown\"，本程序不认识这种编码"},
        {"<?xml version='1.0' encoding=\"GB 18030\"?>", "文件的编码为 \"GB 18030\""},
        {"<?xml version='1.0' encoding=''?>", "文件的编码为 \"\""},
        {"<?xml version='1.0' encoding='UTF-16'?>", "XML 声明的编码为 \"UTF-16\"，但声明本身不是"},
        {"<?xml version='1.0' encoding='IBM037'?>", "XML 声明的编码为 \"IBM037\"，但声明本身不是"},
        {"<?xml version='1.0' encoding='GBK'" + std::string(20000, ' ') + "?>",
         "XML 声明没有在文件的前 16384 个字节内结束"},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        useDatabase(i);
        EXPECT_THAT(errorOf(cases[i].first + "\n" + items),
                    AllOf(HasSubstr("第 1 行第 0 列: " + cases[i].second), Not(HasSubstr("XML 格式错误"))))
            << cases[i].first.substr(0, 60);
    }
}

}  // namespace
}  // namespace velloran::tools::dxl
