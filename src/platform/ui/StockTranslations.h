#pragma once
// Qt's own dialogs and buttons (the file dialogs, OK and Cancel) in the
// program's language. Every text of the program itself is Chinese, so the
// system's language is used when it is a Chinese one, simplified Chinese
// otherwise: an English system does not get English buttons among Chinese
// messages.
#include <QLocale>

class QCoreApplication;
class QTranslator;

namespace velloran::platform {

// The language Qt's dialogs speak on a system set to `system`.
QLocale stockDialogLocale(const QLocale& system);

// Loads Qt's own texts (qtbase, from Qt's translation folder) for
// stockDialogLocale(system), or simplified Chinese when Qt has none for that
// locale, and installs them into the application, which owns them. Without
// any, the dialogs stay in English, the reason goes to the diagnostics
// channel and the result is null.
QTranslator* installStockTranslations(QCoreApplication& application, const QLocale& system);

}  // namespace velloran::platform
