#include "log/TimeFormat.h"

#include <QRegularExpression>

#include <vector>

namespace velloran::exporting {

namespace {

const QLatin1Char kQuote('\'');

// One piece of a Qt date-time format: a field (a run of one format letter,
// or the two letters of "AP"), a quoted literal, or the text between them.
struct Piece {
    enum Kind { Field, Literal, Separator } kind;
    QString text;
};

bool isFormatLetter(QChar c) {
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

bool isAmPmLetter(QChar c) { return c == QLatin1Char('A') || c == QLatin1Char('a'); }

bool isAmPm(QChar first, QChar second) {
    return isAmPmLetter(first) && (second == QLatin1Char('P') || second == QLatin1Char('p'));
}

// The end of the quoted literal opening at `start`; "''" inside it is a
// quote. An unclosed literal runs to the end.
qsizetype literalEnd(const QString& format, qsizetype start) {
    qsizetype at = start + 1;
    while (at < format.size()) {
        if (format[at] != kQuote) {
            ++at;
        } else if (at + 1 < format.size() && format[at + 1] == kQuote) {
            at += 2;
        } else {
            return at + 1;
        }
    }
    return at;
}

qsizetype fieldEnd(const QString& format, qsizetype start) {
    if (start + 1 < format.size() && isAmPm(format[start], format[start + 1])) return start + 2;
    qsizetype at = start + 1;
    while (at < format.size() && format[at] == format[start]) ++at;
    return at;
}

qsizetype separatorEnd(const QString& format, qsizetype start) {
    qsizetype at = start + 1;
    while (at < format.size() && !isFormatLetter(format[at]) && format[at] != kQuote) ++at;
    return at;
}

std::vector<Piece> piecesOf(const QString& format) {
    std::vector<Piece> pieces;
    for (qsizetype start = 0; start < format.size();) {
        const QChar c = format[start];
        const Piece::Kind kind = c == kQuote ? Piece::Literal : isFormatLetter(c) ? Piece::Field : Piece::Separator;
        const qsizetype end = kind == Piece::Literal ? literalEnd(format, start)
                              : kind == Piece::Field ? fieldEnd(format, start)
                                                     : separatorEnd(format, start);
        pieces.push_back({kind, format.mid(start, end - start)});
        start = end;
    }
    return pieces;
}

// The field as Qt should see it; empty for a field to leave out.
QString qtField(const QString& field) {
    const QChar letter = field[0];
    const bool amPm = field.size() == 2 ? isAmPm(letter, field[1]) : field.size() == 1 && isAmPmLetter(letter);
    if (QStringLiteral("hHms").contains(letter) || amPm) return field;
    if (letter == QLatin1Char('B')) return QStringLiteral("AP");
    return {};
}

// Separators joined where a field between them was left out, without the
// brackets and blanks left empty.
QString tidySeparator(QString separator) {
    static const QRegularExpression emptyBrackets(QStringLiteral("[\\[(（]\\s*[\\])）]"));
    static const QRegularExpression blanks(QStringLiteral("(\\s)\\s+"));
    separator.remove(emptyBrackets);
    separator.replace(blanks, QStringLiteral("\\1"));
    return separator;
}

std::vector<Piece> keptPieces(const QString& localeFormat) {
    std::vector<Piece> kept;
    for (Piece piece : piecesOf(localeFormat)) {
        if (piece.kind == Piece::Field) piece.text = qtField(piece.text);
        if (piece.text.isEmpty()) continue;
        if (piece.kind == Piece::Separator && !kept.empty() && kept.back().kind == Piece::Separator)
            kept.back().text += piece.text;
        else
            kept.push_back(std::move(piece));
    }
    for (Piece& piece : kept)
        if (piece.kind == Piece::Separator) piece.text = tidySeparator(piece.text);
    return kept;
}

bool hasHoursMinutesSeconds(const std::vector<Piece>& pieces) {
    QString letters;
    for (const Piece& piece : pieces)
        if (piece.kind == Piece::Field) letters += piece.text[0].toLower();
    return letters.contains(QLatin1Char('h')) && letters.contains(QLatin1Char('m')) &&
           letters.contains(QLatin1Char('s'));
}

}  // namespace

QString qtTimeFormat(const QString& localeFormat) {
    const std::vector<Piece> pieces = keptPieces(localeFormat);
    if (!hasHoursMinutesSeconds(pieces)) return QStringLiteral("HH:mm:ss");
    QString format;
    for (const Piece& piece : pieces) format += piece.text;
    return format.trimmed();
}

QString stampTimeFormat(const QLocale& locale) { return qtTimeFormat(locale.timeFormat(QLocale::LongFormat)); }

}  // namespace velloran::exporting
