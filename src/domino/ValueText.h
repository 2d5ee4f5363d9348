#pragma once
// The text form of item and column values, shared by the document list, the
// details window and the export: text unchanged, numbers and date-times in
// the program's one form (values/ValueText.h: 100000, 0.3, 1e+15; date-times
// as yyyy-MM-dd HH:mm:ss in local time, dates as yyyy-MM-dd).
#include "NotesApi.h"

#include <QString>
#include <QStringList>

namespace velloran::domino {

QString valueToText(const notes::Value& value);
QStringList valuesToTexts(const notes::ValueList& values);

}  // namespace velloran::domino
