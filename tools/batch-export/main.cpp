// velloran-export: exports a view to a workbook from the command line.
#include "BatchExport.h"
#include "BatchOptions.h"
#include "Terminal.h"

#include "common/CommandLine.h"
#include "registry/RegistryHive.h"
#include "time/LocalTimeZone.h"

#include <cstdio>
#include <iostream>
#include <sys/prctl.h>
#include <unistd.h>

int main(int argc, char** argv) {
    // The process holds a password: it never leaves a core dump, and other
    // processes of the same user cannot attach to it.
    if (::prctl(PR_SET_DUMPABLE, 0) != 0) {
        std::perror("velloran-export: error: cannot protect the process from core dumps");
        return 1;
    }
    velloran::platform::settleLocalTimeZone();
    int status = 0;
    int toolStatus = velloran::tools::runTool("velloran-export", velloran::batch::kBatchUsage, argc, argv,
                                              [&](int count, char** args) {
        const velloran::batch::BatchOptions options = velloran::batch::parseBatchOptions(count, args);
        velloran::batch::Terminal terminal(std::cerr, ::isatty(STDERR_FILENO) != 0);
        status = velloran::batch::runBatchExport(options, velloran::platform::RegistryHive::defaultPath(), terminal,
                                                 std::cout);
    });
    return toolStatus != 0 ? toolStatus : status;
}
