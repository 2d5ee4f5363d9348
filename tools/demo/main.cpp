// velloran-make-demo: makes the demo installation.
#include "common/CommandLine.h"
#include "demo/DemoInstallation.h"

#include <iostream>

namespace {

const char* kUsage = R"(Usage: velloran-make-demo --out DIR --notes-component FILE [--excel-component FILE]

Makes a demo installation in DIR (an existing demo there is replaced; any
other non-empty folder is refused):
  DIR/registry.reg        registry hive (start the program with
                          VELLORAN_REGISTRY=DIR/registry.reg)
  DIR/Notes/              the Notes program folder
  DIR/Domino/nlsxbe.dll   the document-database component
  DIR/Excel/FILE          the spreadsheet component, when given
  DIR/Domino/Data/        sample databases in nested folders
Server name: VelloranDemo/Velloran. Demo user: "Demo User/Velloran" (or
"demo"), password Velloran2024.
)";

}  // namespace

int main(int argc, char** argv) {
    return velloran::tools::runTool("velloran-make-demo", kUsage, argc, argv, [](int count, char** args) {
        velloran::tools::CommandLine options(count, args, {"out", "notes-component", "excel-component"});
        velloran::tools::makeDemo({options.required("out"), options.required("notes-component"),
                                   options.optional("excel-component")});
        std::cout << "Demo installation ready in " << options.required("out") << "\n";
    });
}
