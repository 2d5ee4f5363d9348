#pragma once
// The time part of the log's stamp. A locale's long time format may hold
// letters from the locale data that Qt's time formatting does not know (the
// day period "B", time-zone names written "t" or "zzzz", often in
// brackets); formatted as they are they leave stray letters and empty
// brackets in the stamp.
#include <QLocale>
#include <QString>

namespace velloran::exporting {

// `localeFormat` with only what Qt formats: its hour, minute, second and
// AM/PM fields, quoted literal text and separators. The day period "B"
// becomes AM/PM ("AP"); every other field (the zone name above all) is left
// out, together with brackets and blanks it leaves empty. A format without
// hours, minutes and seconds left becomes "HH:mm:ss".
QString qtTimeFormat(const QString& localeFormat);

// qtTimeFormat of the locale's long time format.
QString stampTimeFormat(const QLocale& locale);

}  // namespace velloran::exporting
