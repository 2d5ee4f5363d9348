// velloran-export: exports a view to a workbook from the command line.
#include "BatchExport.h"
#include "BatchFailure.h"
#include "BatchOptions.h"
#include "HeldDiagnostics.h"
#include "Interruption.h"
#include "Listing.h"
#include "Terminal.h"

#include "registry/RegistryHive.h"
#include "time/LocalTimeZone.h"
#include "common/CommandLine.h"
#include "common/FailurePrint.h"
#include "common/Secrets.h"
#include "common/ToolError.h"

#include <QtGlobal>

#include <atomic>
#include <cerrno>
#include <iostream>
#include <unistd.h>

namespace {

using namespace velloran::batch;

// The libraries' diagnostics are in English, for finding a fault; standard
// error is the user's, in Chinese. They reach it with --verbose; otherwise
// the user is told at the end how many --verbose would add and how to see
// them.
std::atomic<bool> showDiagnostics{false};
HeldDiagnostics heldDiagnostics;

void printDiagnostic(QtMsgType, const QMessageLogContext&, const QString& message) {
    if (!showDiagnostics.load()) {
        heldDiagnostics.hold(message);
        return;
    }
    std::cerr << prefixedLines(message) << std::flush;
}

// `error`: the error the run ended with, printed already; null when none.
void tellOfHeldDiagnostics(const std::exception* error, bool verbose) {
    if (verbose) return;
    if (const int hidden = heldDiagnostics.hiddenBeside(error))
        std::cerr << prefixedLines(QStringLiteral("有 %1 条诊断信息未显示（加 --verbose 可看到）").arg(hidden)) << std::flush;
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
    const bool verbose = velloran::tools::asksForVerbose(argc, argv);
    if (!velloran::tools::keepOutOfCoreDumps()) {
        const int error = errno;
        velloran::tools::printFailure(
            std::cerr, "velloran-export",
            velloran::tools::systemFailure("无法禁止进程的核心转储", "cannot keep the process out of core dumps", error),
            verbose);
        return kNotExported;
    }
    qInstallMessageHandler(printDiagnostic);
    velloran::platform::settleLocalTimeZone();
    try {
        const ExitStatus status = run(argc, argv);
        tellOfHeldDiagnostics(nullptr, verbose);
        return status;
    } catch (const std::exception& error) {
        velloran::tools::printFailure(std::cerr, "velloran-export", error, verbose);
        tellOfHeldDiagnostics(&error, verbose);
        return exitStatusOf(error);
    }
}
