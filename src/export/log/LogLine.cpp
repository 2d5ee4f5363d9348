#include "log/LogLine.h"

#include <stdexcept>

namespace velloran::exporting {

namespace {

constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";

bool isControl(QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; }

void appendNumber(QString& out, qint64 value) {
    std::array<char16_t, 20> digits{};
    // The magnitude as unsigned, so that the smallest value has one too.
    quint64 rest = value < 0 ? 0 - static_cast<quint64>(value) : static_cast<quint64>(value);
    std::size_t start = digits.size();
    do {
        digits[--start] = static_cast<char16_t>(u'0' + rest % 10);
        rest /= 10;
    } while (rest != 0);
    if (value < 0) out.append(u'-');
    out.append(QStringView(digits.data() + start, static_cast<qsizetype>(digits.size() - start)));
}

void appendWrittenOut(QString& out, QChar control) {
    switch (control.unicode()) {
    case '\r': out.append(u"\\r"); return;
    case '\n': out.append(u"\\n"); return;
    case '\t': out.append(u"\\t"); return;
    default:
        const char16_t code[] = {u'\\', u'x', kHexDigits[control.unicode() >> 4], kHexDigits[control.unicode() & 0xF]};
        out.append(QStringView(code, 4));
    }
}

void appendName(QString& out, QStringView name) {
    qsizetype plain = 0;  // the start of the run of characters kept as they are
    for (qsizetype at = 0; at < name.size(); ++at) {
        if (!isControl(name[at])) continue;
        out.append(name.sliced(plain, at - plain));
        appendWrittenOut(out, name[at]);
        plain = at + 1;
    }
    out.append(name.sliced(plain));
}

void appendValue(QString& out, QStringView value) {
    qsizetype plain = 0;
    for (qsizetype at = 0; at < value.size(); ++at) {
        const QChar c = value[at];
        if (c != u'\r' && c != u'\n') continue;
        out.append(value.sliced(plain, at - plain));
        out.append(u"\r\n");
        if (c == u'\r' && at + 1 < value.size() && value[at + 1] == u'\n') ++at;
        plain = at + 1;
    }
    out.append(value.sliced(plain));
}

}  // namespace

LogLine& LogLine::text(QStringView fixed) { return add({Kind::Text, fixed, 0}); }
LogLine& LogLine::number(qint64 value) { return add({Kind::Number, {}, value}); }
LogLine& LogLine::name(QStringView name) { return add({Kind::Name, name, 0}); }
LogLine& LogLine::value(QStringView value) { return add({Kind::Value, value, 0}); }

LogLine& LogLine::add(Piece piece) {
    if (count_ == pieces_.size()) throw std::logic_error("a log line has room for eight pieces only");
    pieces_[count_++] = piece;
    return *this;
}

void LogLine::appendTo(QString& out) const {
    for (std::size_t i = 0; i < count_; ++i) {
        const Piece& piece = pieces_[i];
        switch (piece.kind) {
        case Kind::Text: out.append(piece.text); break;
        case Kind::Number: appendNumber(out, piece.number); break;
        case Kind::Name: appendName(out, piece.text); break;
        case Kind::Value: appendValue(out, piece.text); break;
        }
    }
}

QString LogLine::toString() const {
    QString text;
    appendTo(text);
    return text;
}

}  // namespace velloran::exporting
