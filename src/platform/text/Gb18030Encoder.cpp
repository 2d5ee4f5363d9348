#include "text/Gb18030Encoder.h"

#include <QChar>

#include <cstring>
#include <stdexcept>

namespace velloran::platform {

namespace {

constexpr std::size_t kBmpSize = 0x10000;

}  // namespace

Gb18030Encoder::Gb18030Encoder() : known_(kBmpSize), encoder_("GB18030", QStringConverter::Flag::Stateless) {
    if (!encoder_.isValid()) throw std::runtime_error("GB18030 text cannot be written: Qt has no GB18030 encoder");
}

const Gb18030Encoder::Sequence& Gb18030Encoder::sequenceOf(char16_t unit) {
    Sequence& sequence = known_[unit];
    if (sequence.size != 0) return sequence;
    encoder_.resetState();
    const QByteArray bytes = encoder_.encode(QStringView(&unit, 1));
    if (bytes.isEmpty() || bytes.size() > kMaxBytesPerUnit)
        throw std::runtime_error("GB18030 has no sequence for U+" + QByteArray::number(unit, 16).toStdString());
    std::memcpy(&sequence.bytes, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    sequence.size = static_cast<std::uint32_t>(bytes.size());
    return sequence;
}

void Gb18030Encoder::append(QStringView text, QByteArray& out) {
    const qsizetype start = out.size();
    out.resize(start + text.size() * kMaxBytesPerUnit);
    if (char* end = encodeWithoutSurrogates(text, out.data() + start)) {
        out.resize(end - out.constData());
        return;
    }
    out.resize(start);
    encoder_.resetState();
    out.append(encoder_.encode(text));
}

}  // namespace velloran::platform
