#pragma once
// Text stored by the program in 8-bit files (the settings file, the export
// log) is GB18030: byte-identical to GBK for every character GBK has, and
// able to hold every other Unicode character too. Byte lengths that the
// program counts are counted in this encoding.
#include <QByteArray>
#include <QString>

namespace velloran::platform {

QByteArray toGb18030(const QString& text);
// Bytes that are not valid GB18030 become U+FFFD.
QString fromGb18030(const QByteArray& bytes);

// The number of bytes `text` takes in GB18030.
qsizetype gb18030Length(const QString& text);

// The longest start of `text` that takes at most `maxBytes` bytes in
// GB18030; never ends inside a character or a surrogate pair.
QString cutToGb18030Bytes(const QString& text, qsizetype maxBytes);

}  // namespace velloran::platform
