#include "log/LogLine.h"

#include <algorithm>
#include <string_view>

namespace velloran::exporting {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

// C0, DEL and C1: a terminal may read any of them (U+009B as well as ESC)
// as the start of an escape sequence.
bool isControl(QChar c) { return c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F); }

// Where a line's text goes: a QString as it is, or bytes in GB18030.
struct TextSink {
    QString& out;
    void text(QStringView text) { out.append(text); }
    void ascii(std::string_view text) { out.append(QLatin1StringView(text.data(), static_cast<qsizetype>(text.size()))); }
};

// Writes into room made beforehand; stops at the first surrogate.
struct Gb18030Sink {
    char* at;
    platform::Gb18030Encoder& encoder;
    void text(QStringView text) {
        if (at) at = encoder.encodeWithoutSurrogates(text, at);
    }
    void ascii(std::string_view text) {
        if (at) at = std::copy(text.begin(), text.end(), at);
    }
};

// The most digits and sign a number takes.
constexpr qsizetype kNumberRoom = 20;

template <class Sink>
void appendNumber(Sink& out, qint64 value) {
    std::array<char, 21> digits{};
    // The magnitude as unsigned, so that the smallest value has one too.
    quint64 rest = value < 0 ? 0 - static_cast<quint64>(value) : static_cast<quint64>(value);
    std::size_t start = digits.size();
    do {
        digits[--start] = static_cast<char>('0' + rest % 10);
        rest /= 10;
    } while (rest != 0);
    if (value < 0) digits[--start] = '-';
    out.ascii(std::string_view(digits.data() + start, digits.size() - start));
}

template <class Sink>
void appendWrittenOut(Sink& out, QChar control) {
    switch (control.unicode()) {
    case '\r': out.ascii("\\r"); return;
    case '\n': out.ascii("\\n"); return;
    case '\t': out.ascii("\\t"); return;
    default:
        const char code[] = {'\\', 'x', kHexDigits[control.unicode() >> 4], kHexDigits[control.unicode() & 0xF]};
        out.ascii(std::string_view(code, 4));
    }
}

template <class Sink>
void appendName(Sink& out, QStringView name) {
    qsizetype plain = 0;  // the start of the run of characters kept as they are
    for (qsizetype at = 0; at < name.size(); ++at) {
        if (!isControl(name[at])) continue;
        out.text(name.sliced(plain, at - plain));
        appendWrittenOut(out, name[at]);
        plain = at + 1;
    }
    out.text(name.sliced(plain));
}

template <class Sink>
void appendValue(Sink& out, QStringView value) {
    qsizetype plain = 0;
    for (qsizetype at = 0; at < value.size(); ++at) {
        const QChar c = value[at];
        if (c != u'\r' && c != u'\n') continue;
        out.text(value.sliced(plain, at - plain));
        out.ascii("\r\n");
        if (c == u'\r' && at + 1 < value.size() && value[at + 1] == u'\n') ++at;
        plain = at + 1;
    }
    out.text(value.sliced(plain));
}

}  // namespace

template <class Sink>
void LogLine::appendPieces(Sink& out) const {
    for (std::size_t i = 0; i < count_; ++i) {
        const Piece& piece = pieces_[i];
        switch (piece.kind) {
        case Kind::Text: out.text(piece.view()); break;
        case Kind::Number: appendNumber(out, piece.number); break;
        case Kind::Name: appendName(out, piece.view()); break;
        case Kind::Value: appendValue(out, piece.view()); break;
        }
    }
}

void LogLine::appendTo(QString& out) const {
    TextSink sink{out};
    appendPieces(sink);
}

// Every character but a surrogate is encoded alike on its own, so the
// pieces are encoded one by one; a surrogate is encoded by what stands next
// to it, so a line holding one is encoded whole.
void LogLine::encodeTo(QByteArray& out, platform::Gb18030Encoder& encoder) const {
    // A written-out control character or a CR LF takes no more bytes than
    // any character may.
    qsizetype room = 0;
    for (std::size_t i = 0; i < count_; ++i)
        room += pieces_[i].kind == Kind::Number ? kNumberRoom
                                                : pieces_[i].size * platform::Gb18030Encoder::kMaxBytesPerUnit;
    const qsizetype start = out.size();
    out.resize(start + room);
    Gb18030Sink sink{out.data() + start, encoder};
    appendPieces(sink);
    if (sink.at) {
        out.resize(sink.at - out.constData());
        return;
    }
    out.resize(start);
    encoder.append(toString(), out);
}

QString LogLine::toString() const {
    QString text;
    appendTo(text);
    return text;
}

}  // namespace velloran::exporting
