#include "ValueText.h"

#include "NotesWrapper.h"

#include <QDateTime>
#include <QTimeZone>

#include <charconv>

namespace velloran::domino {

namespace {

QString numberText(double number) {
    char buffer[64];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, number);
    if (error != std::errc()) return QString::number(number, 'g', 17);
    return QString::fromLatin1(buffer, end - buffer);
}

QString dateTimeText(const notes::DateTime& moment) {
    if (!moment.hasTime) {
        return QDateTime::fromMSecsSinceEpoch(moment.msecsSinceEpoch, QTimeZone::utc())
            .date()
            .toString(QStringLiteral("yyyy-MM-dd"));
    }
    return QDateTime::fromMSecsSinceEpoch(moment.msecsSinceEpoch)
        .toLocalTime()
        .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

}  // namespace

QString valueToText(const notes::Value& value) {
    if (const auto* text = std::get_if<std::string>(&value)) return fromUtf8(*text);
    if (const auto* number = std::get_if<double>(&value)) return numberText(*number);
    return dateTimeText(std::get<notes::DateTime>(value));
}

QStringList valuesToTexts(const notes::ValueList& values) {
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(values.size()));
    for (const notes::Value& value : values) texts << valueToText(value);
    return texts;
}

}  // namespace velloran::domino
