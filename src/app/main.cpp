// Velloran: browse document databases and export their views to workbooks.
#include "AppContext.h"
#include "CommandIcons.h"
#include "MainWindow.h"
#include "errors/ErrorReport.h"
#include "errors/GuardedApplication.h"
#include "host/HostName.h"
#include "registry/RegistryHive.h"
#include "time/LocalTimeZone.h"
#include "ui/QtPrompts.h"
#include "ui/StockTranslations.h"

#include <QDesktopServices>
#include <QMetaObject>

#include <cstdio>
#include <sys/prctl.h>

int main(int argc, char** argv) {
    // The process holds the login password: it never leaves a core dump, and
    // other processes of the same user cannot attach to it.
    if (::prctl(PR_SET_DUMPABLE, 0) != 0) {
        std::perror("velloran: cannot protect the process from core dumps");
        return 1;
    }
    velloran::platform::settleLocalTimeZone();
    velloran::platform::GuardedApplication application(argc, argv);
    application.setApplicationName(velloran::platform::kApplicationTitle);
    application.setDesktopFileName(velloran::app::kDesktopFileName);
    application.setWindowIcon(velloran::app::programIcon());
    velloran::platform::installStockTranslations(application, QLocale::system());
    velloran::platform::QtPrompts prompts;
    application.setPrompts(&prompts);

    velloran::app::AppContext context;
    context.exeFolder = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    context.hivePath = velloran::platform::RegistryHive::defaultPath();
    context.prompts = &prompts;
    context.localHostName = [] { return QString::fromStdString(velloran::platform::localHostName()); };
    context.quit = [] { QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection); };

    context.openUrl = [](const QUrl& address) { QDesktopServices::openUrl(address); };

    velloran::app::TfrmMain frmMain(context);
    frmMain.showMaximized();
    const int status = application.exec();
    // A program that could not start is a failure for whoever started it.
    return frmMain.refusedToStart() ? 1 : status;
}
