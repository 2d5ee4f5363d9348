#include "ValueText.h"

#include "NotesWrapper.h"
#include "values/ValueText.h"

namespace velloran::domino {

QString valueToText(const notes::Value& value) {
    if (const auto* text = std::get_if<std::string>(&value)) return fromUtf8(*text);
    if (const auto* number = std::get_if<double>(&value)) return fromUtf8(platform::numberText(*number));
    const auto& moment = std::get<notes::DateTime>(value);
    if (!moment.hasDate) return fromUtf8(platform::timeOfDayText(moment.msecsSinceEpoch));
    return fromUtf8(platform::dateTimeText(moment.msecsSinceEpoch, moment.hasTime));
}

QStringList valuesToTexts(const notes::ValueList& values) {
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(values.size()));
    for (const notes::Value& value : values) texts << valueToText(value);
    return texts;
}

}  // namespace velloran::domino
