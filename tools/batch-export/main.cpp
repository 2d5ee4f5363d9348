// velloran-export: exports a view to a workbook from the command line.
#include "BatchExport.h"
#include "BatchFailure.h"
#include "BatchOptions.h"
#include "Interruption.h"
#include "Listing.h"
#include "Terminal.h"

#include "registry/RegistryHive.h"
#include "time/LocalTimeZone.h"
#include "common/CommandLine.h"
#include "common/Secrets.h"

#include <QtGlobal>

#include <atomic>
#include <iostream>
#include <unistd.h>

namespace {

using namespace velloran::batch;

// The libraries' diagnostics are in English, for finding a fault; standard
// error is the user's, in Chinese. They reach it with --verbose; otherwise
// the user is told at the end how many there were and how to see them.
std::atomic<bool> showDiagnostics{false};
std::atomic<int> heldDiagnostics{0};

void printDiagnostic(QtMsgType, const QMessageLogContext&, const QString& message) {
    if (!showDiagnostics.load()) {
        ++heldDiagnostics;
        return;
    }
    std::cerr << prefixedLines(message) << std::flush;
}

void tellOfHeldDiagnostics() {
    if (const int held = heldDiagnostics.load())
        std::cerr << prefixedLines(QStringLiteral("有 %1 条诊断信息未显示（加 --verbose 可看到）").arg(held)) << std::flush;
}

Terminal::Progress progressKind(const BatchOptions& options) {
    if (options.quiet) return Terminal::Progress::None;
    return ::isatty(STDERR_FILENO) != 0 ? Terminal::Progress::Redrawn : Terminal::Progress::Tenths;
}

ExitStatus run(int argc, char** argv) {
    if (velloran::tools::printedHelpOrVersion("velloran-export", kBatchUsage, argc, argv, std::cout)) return kExported;
    const BatchOptions options = parseBatchOptions(argc, argv);
    showDiagnostics = options.verbose;
    const std::string hive = velloran::platform::RegistryHive::defaultPath();
    if (options.list) {
        printList(options, hive, std::cout);
        return kExported;
    }
    installInterruption();
    Terminal terminal(std::cerr, progressKind(options));
    return runBatchExport(options, hive, terminal, interruptionRequested(), std::cout);
}

}  // namespace

int main(int argc, char** argv) {
    if (!velloran::tools::keepOutOfCoreDumps()) {
        std::cerr << kToolPrefix << "错误: 无法禁止进程的核心转储\n";
        return kNotExported;
    }
    qInstallMessageHandler(printDiagnostic);
    velloran::platform::settleLocalTimeZone();
    ExitStatus status = kNotExported;
    try {
        status = run(argc, argv);
    } catch (const BatchFailure& failure) {
        std::cerr << prefixedLines(QStringLiteral("错误: ") + QString::fromUtf8(failure.what())) << std::flush;
        status = failure.status();
    } catch (const std::exception& error) {
        std::cerr << prefixedLines(QStringLiteral("错误: ") + QString::fromUtf8(error.what())) << std::flush;
    }
    tellOfHeldDiagnostics();
    return status;
}
