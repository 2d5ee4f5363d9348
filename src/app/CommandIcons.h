#pragma once
// The program's own 16 x 16 icons, drawn in code.
#include <QIcon>
#include <QVector>

namespace velloran::app {

// The command icons, by index: 0 tray with a downward arrow, 1 door with an
// arrow, 2 blue document, 3 open folder, 4 desktop computer, 5 book with a
// question mark, 6 and 7 grey buttons with a left and a right triangle,
// 8 and 9 black left and right arrows, 10 page of text.
QVector<QIcon> commandIcons();

// The name of the desktop entry and of its icon.
inline const QString kDesktopFileName = QStringLiteral("velloran");

// The list item icons: 0 server, 1 folder, 2 database, 3 view.
QVector<QIcon> listIcons();

// The program's icon: the installed one of the desktop entry, else the
// database icon.
QIcon programIcon();

}  // namespace velloran::app
