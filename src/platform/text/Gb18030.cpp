#include "text/Gb18030.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace velloran::platform {

namespace {

// Qt finds GB18030 through ICU only when asked by this exact name.
constexpr const char* kEncodingName = "GB18030";
constexpr auto kConverterFlags = QStringConverter::Flag::Stateless;

bool isAscii(const QString& text) {
    for (QChar c : text)
        if (c.unicode() >= 0x80) return false;
    return true;
}

// Length of the GB18030 sequence starting at bytes[pos]: one byte below
// 0x80, four when the second byte is a digit, two otherwise.
qsizetype sequenceLength(const QByteArray& bytes, qsizetype pos) {
    auto lead = static_cast<unsigned char>(bytes[pos]);
    if (lead < 0x80 || pos + 1 >= bytes.size()) return 1;
    auto second = static_cast<unsigned char>(bytes[pos + 1]);
    return second >= 0x30 && second <= 0x39 ? 4 : 2;
}

// Number of UTF-16 units of the code point starting at text[pos]; a lone
// surrogate counts as a code point of its own, as the encoder sees it.
qsizetype codePointUnits(const QString& text, qsizetype pos) {
    return text[pos].isHighSurrogate() && pos + 1 < text.size() && text[pos + 1].isLowSurrogate() ? 2 : 1;
}

}  // namespace

// Setting up a converter costs more than converting a log line, so each
// thread keeps one of each and resets it before every use.
QByteArray toGb18030(const QString& text) {
    thread_local QStringEncoder encoder(kEncodingName, kConverterFlags);
    encoder.resetState();
    return encoder.encode(text);
}

QString fromGb18030(const QByteArray& bytes) {
    thread_local QStringDecoder decoder(kEncodingName, kConverterFlags);
    decoder.resetState();
    return decoder.decode(bytes);
}

qsizetype gb18030Length(const QString& text) {
    return isAscii(text) ? text.size() : toGb18030(text).size();
}

QString cutToGb18030Bytes(const QString& text, qsizetype maxBytes) {
    if (maxBytes <= 0) return {};
    if (isAscii(text)) return text.left(maxBytes);
    // Every code point becomes exactly one GB18030 sequence, so walking the
    // encoded bytes sequence by sequence walks the text code point by code
    // point.
    const QByteArray bytes = toGb18030(text);
    qsizetype bytePos = 0;
    qsizetype textPos = 0;
    while (bytePos < bytes.size() && textPos < text.size()) {
        qsizetype next = bytePos + sequenceLength(bytes, bytePos);
        if (next > maxBytes) break;
        bytePos = next;
        textPos += codePointUnits(text, textPos);
    }
    // The encoder drops a lone high surrogate at the very end; what is left
    // once every byte fits adds nothing to the length.
    return bytePos == bytes.size() ? text : text.left(textPos);
}

}  // namespace velloran::platform
