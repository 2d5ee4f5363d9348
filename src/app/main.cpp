// Velloran: browse document databases and export their views to workbooks.
#include "AppContext.h"
#include "CommandIcons.h"
#include "MainWindow.h"
#include "common/CommandLine.h"
#include "common/FailurePrint.h"
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
#include <iostream>
#include <sys/prctl.h>

namespace {

const char* kUsage = R"(用法: velloran [Qt 的选项，如 -platform offscreen]
      velloran --help | --version

浏览文档数据库（本地文件或服务器数据目录中的数据库），把视图导出到工作簿。
注册表文件：环境变量 VELLORAN_REGISTRY 指定的文件，否则
~/.config/velloran/registry.reg，否则 /etc/velloran/registry.reg
（velloran-setup --data 数据目录 可以写一个）。
退出状态：0 正常退出；1 程序无法启动；2 命令行有误。
)";

// What is left of the command line once Qt took its own options: the
// window takes no other, so anything left is refused.
bool refusedArguments(int argc, char** argv) {
    try {
        velloran::tools::CommandLine(argc, argv, {});
        return false;
    } catch (const velloran::tools::UsageError& error) {
        velloran::tools::printFailure(std::cerr, "velloran", error, false);
        return true;
    }
}

}  // namespace

int main(int argc, char** argv) {
    // Answered before anything else, so also without a display.
    if (velloran::tools::printedHelpOrVersion("velloran", kUsage, argc, argv, std::cout)) return 0;
    // The process holds the login password: it never leaves a core dump, and
    // other processes of the same user cannot attach to it.
    if (::prctl(PR_SET_DUMPABLE, 0) != 0) {
        std::perror("velloran: cannot protect the process from core dumps");
        return 1;
    }
    velloran::platform::settleLocalTimeZone();
    velloran::platform::GuardedApplication application(argc, argv);
    if (refusedArguments(argc, argv)) return velloran::tools::kUsageStatus;
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
