#include "text/Gb18030.h"
#include "text/Gb18030Encoder.h"

#include "QStringPrinter.h"

#include <gtest/gtest.h>

using namespace velloran::platform;

namespace {

// "A", "中" (2 bytes), "€" (2 bytes), "😀" (outside the BMP: 4 bytes),
// "b", "À" (U+00C0: not in GBK, 4 bytes inside the BMP).
const QString kMixed = QString::fromUtf8("A\xE4\xB8\xAD\xE2\x82\xAC\xF0\x9F\x98\x80" "b\xC3\x80");

}  // namespace

TEST(Gb18030, ChineseRoundTripsAsItsGbkBytes) {
    const QString text = QString::fromUtf8("密码 abc");
    EXPECT_EQ(toGb18030(text), QByteArray("\xC3\xDC\xC2\xEB abc"));
    EXPECT_EQ(fromGb18030(toGb18030(text)), text);
}

TEST(Gb18030, ACharacterOutsideTheBmpTakesFourBytesAndRoundTrips) {
    const QString smile = QString::fromUtf8("\xF0\x9F\x98\x80");
    EXPECT_EQ(toGb18030(smile), QByteArray("\x94\x39\xFC\x36"));
    EXPECT_EQ(fromGb18030(toGb18030(smile)), smile);
}

TEST(Gb18030, ByteLengths) {
    EXPECT_EQ(gb18030Length(QString()), 0);
    EXPECT_EQ(gb18030Length(QStringLiteral("plain")), 5);
    EXPECT_EQ(gb18030Length(kMixed), 1 + 2 + 2 + 4 + 1 + 4);
    EXPECT_EQ(fromGb18030(toGb18030(kMixed)), kMixed);
}

TEST(Gb18030, ACutNeverSplitsACharacter) {
    // Character boundaries of kMixed in bytes, and in UTF-16 units.
    const int byteEnds[] = {0, 1, 3, 5, 9, 10, 14};
    const int unitEnds[] = {0, 1, 2, 3, 5, 6, 7};
    for (int limit = 0; limit <= 16; ++limit) {
        int fits = 0;
        while (fits + 1 < 7 && byteEnds[fits + 1] <= limit) ++fits;
        QString cut = cutToGb18030Bytes(kMixed, limit);
        EXPECT_EQ(cut, kMixed.left(unitEnds[fits])) << "limit " << limit;
        EXPECT_LE(gb18030Length(cut), limit);
    }
    EXPECT_EQ(cutToGb18030Bytes(QStringLiteral("abcdef"), 4), QStringLiteral("abcd"));
    EXPECT_EQ(cutToGb18030Bytes(kMixed, -1), QString());
}

TEST(Gb18030, LoneSurrogatesCountAsOneCharacterEach) {
    QString text = QStringLiteral("a");
    text += QChar(0xD83D);  // a high surrogate without its pair
    text += QStringLiteral("b");
    text += QChar(0xDE00);
    EXPECT_EQ(gb18030Length(text), 4);
    EXPECT_EQ(cutToGb18030Bytes(text, 2), text.left(2));
    EXPECT_EQ(cutToGb18030Bytes(text, 4), text);

    QString dangling = QStringLiteral("ab") + QChar(0xD83D);
    EXPECT_EQ(cutToGb18030Bytes(dangling, 2), dangling);
    EXPECT_EQ(cutToGb18030Bytes(dangling, 1), QStringLiteral("a"));
}

TEST(Gb18030, TheFastEncoderGivesTheGeneralEncodersBytes) {
    Gb18030Encoder encoder;
    const QString loneSurrogates = QStringLiteral("x") + QChar(0xD83D) + QStringLiteral("中") + QChar(0xDE00);
    // Characters met twice come from the encoder's table the second time.
    for (const QString& text : {kMixed, kMixed + kMixed, loneSurrogates, QString::fromUtf8("导出\x7F\xC2\x80")}) {
        QByteArray out("kept");
        encoder.append(text, out);
        EXPECT_EQ(out, QByteArray("kept") + toGb18030(text)) << text.toStdString();
    }
}
