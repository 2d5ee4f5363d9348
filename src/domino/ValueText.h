#pragma once
// The one text form of item and column values, shared by the document list,
// the details window and the export: text unchanged, numbers in their
// shortest exact decimal form (12, 3.5), date-times as yyyy-MM-dd HH:mm:ss
// in local time, or yyyy-MM-dd alone for a date without a time.
#include "NotesApi.h"

#include <QString>
#include <QStringList>

namespace velloran::domino {

QString valueToText(const notes::Value& value);
QStringList valuesToTexts(const notes::ValueList& values);

}  // namespace velloran::domino
