#include "dxl/ImportCommand.h"

#include "dxl/DxlImport.h"

#include "common/CommandLine.h"
#include "common/FailurePrint.h"
#include "common/IndexReport.h"

#include <ostream>

namespace velloran::tools::dxl {

namespace {

constexpr const char* kTool = "velloran-dxl-import";

// An empty --xml or --out is no name at all: refused as a missing value,
// before anything is read.
ImportRequest requestOf(int argc, char** argv) {
    CommandLine options(argc, argv, {"xml", "out"}, {"overwrite", "verbose"});
    options.required("xml");
    ImportRequest request{options.all("xml"), options.required("out"), options.has("overwrite")};
    for (const std::string& xml : request.xml)
        if (xml.empty()) throw UsageError(UsageError::Kind::MissingValue, "xml");
    if (request.database.empty()) throw UsageError(UsageError::Kind::MissingValue, "out");
    return request;
}

}  // namespace

int runImport(int argc, char** argv, std::ostream& out, std::ostream& err) {
    try {
        ImportRequest request = requestOf(argc, argv);
        ImportSummary summary = importDxl(request);
        out << summary.report();
        printIndexReport(err, kTool, summary.index);
        out << "已写入 " << request.database;
        out << (summary.complete() ? "\n" : "，但缺少上面列为丢失或无法读取的部分\n");
        return summary.complete() ? 0 : 1;
    } catch (const std::exception& e) {
        const bool usage = platform::isFailure(e, Failure::Kind::Usage);
        printFailure(err, kTool, e, !usage && asksForVerbose(argc, argv));
        return usage ? kUsageStatus : kFailedStatus;
    }
}

}  // namespace velloran::tools::dxl
