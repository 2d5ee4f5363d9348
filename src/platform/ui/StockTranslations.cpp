#include "ui/StockTranslations.h"

#include "errors/Diagnostics.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace velloran::platform {

namespace {

const QLocale kProgramLocale(QLocale::Chinese, QLocale::China);

}  // namespace

QLocale stockDialogLocale(const QLocale& system) {
    return system.language() == QLocale::Chinese ? system : kProgramLocale;
}

QTranslator* installStockTranslations(QCoreApplication& application, const QLocale& system) {
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    auto* translator = new QTranslator(&application);
    const QString prefix = QStringLiteral("_");
    if (translator->load(stockDialogLocale(system), QStringLiteral("qtbase"), prefix, folder) ||
        translator->load(kProgramLocale, QStringLiteral("qtbase"), prefix, folder)) {
        application.installTranslator(translator);
        return translator;
    }
    delete translator;
    qCWarning(diagnostics).noquote() << "Qt's dialogs stay in English: no qtbase translation for"
                                     << stockDialogLocale(system).name() << "in" << folder;
    return nullptr;
}

}  // namespace velloran::platform
