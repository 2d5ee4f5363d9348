// velloran-nsf-generate: generated databases for benchmarks and tests.
#include "common/CommandLine.h"
#include "generate/Generator.h"

#include <climits>
#include <iostream>

namespace {

const char* kUsage = R"(Usage: velloran-nsf-generate --out DATABASE.nsf [--documents N] [--items M]
                            [--attachment-size BYTES] [--attachment-every K] [--view NAME]

Writes N documents (default 1000) of M items (default 10, at least 3) and a
view NAME (default "All") over all of them, in one transaction. Field1 is a
text, Field2 a number, Field3 a date-time, the rest texts; the view's
columns are Subject, Amount and Date. With --attachment-size every K-th
document (default every one) gets a generated attachment of that size.
)";

}  // namespace

int main(int argc, char** argv) {
    return velloran::tools::runTool("velloran-nsf-generate", kUsage, argc, argv, [](int count, char** args) {
        velloran::tools::CommandLine options(count, args,
                                             {"out", "documents", "items", "attachment-size", "attachment-every", "view"});
        velloran::tools::GenerateOptions generate;
        generate.documents = options.number("documents", generate.documents);
        generate.items = static_cast<int>(options.number("items", generate.items, INT_MAX));
        generate.attachmentSize = options.has("attachment-size") ? options.number("attachment-size", 0) : -1;
        generate.attachmentEvery = options.number("attachment-every", 1);
        generate.viewName = options.optional("view").value_or(generate.viewName);
        velloran::tools::generateDatabase(options.required("out"), generate);
        std::cout << "Wrote " << generate.documents << " documents to " << options.required("out") << "\n";
    });
}
