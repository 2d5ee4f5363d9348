// velloran-dxl-import: builds a database from a database's XML export.
#include "common/CommandLine.h"
#include "common/IndexReport.h"
#include "dxl/DxlImport.h"

#include <iostream>

namespace {

const char* kUsage = R"(Usage: velloran-dxl-import --xml FILE --out DATABASE.nsf

Builds the new database DATABASE.nsf from the XML export FILE (root
<database>): its documents with their items, rich text flattened to text
with its embedded objects, and attached files, its views and folders with
their selection formulas and columns, and its access list. A view whose
formula this program cannot evaluate is kept with its formulas but lists no
documents; folders are imported empty, as the export does not say which
documents they hold; both are listed. Other design notes (forms, agents ...) are
skipped and counted. The file is read as a stream, so its size does not
matter.

Prints what was imported, skipped and could not be read. Exits with 1 when a
document or view could not be imported, or on an error, which names the line
and column of the XML; a failed import leaves no database behind.
)";

}  // namespace

int main(int argc, char** argv) {
    int status = 0;
    int ran = velloran::tools::runTool("velloran-dxl-import", kUsage, argc, argv, [&](int count, char** args) {
        velloran::tools::CommandLine options(count, args, {"xml", "out"});
        velloran::tools::dxl::ImportSummary summary =
            velloran::tools::dxl::importDxlFile(options.required("xml"), options.required("out"));
        std::cout << summary.report();
        velloran::tools::printIndexReport(std::cerr, "velloran-dxl-import", summary.index);
        if (summary.lost > 0) status = 1;
        else std::cout << "Wrote " << options.required("out") << "\n";
    });
    return ran != 0 ? ran : status;
}
