// velloran-export: exports a view to a workbook from the command line.
#include "BatchExport.h"
#include "BatchOptions.h"
#include "Terminal.h"

#include "common/CommandLine.h"
#include "registry/RegistryHive.h"
#include "time/LocalTimeZone.h"

#include <iostream>
#include <unistd.h>

int main(int argc, char** argv) {
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
