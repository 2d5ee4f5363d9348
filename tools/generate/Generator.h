#pragma once
// Generated databases for benchmarks and tests: N documents of M items and
// one view over all of them.
#include <cstdint>
#include <string>

namespace velloran::tools {

struct GenerateOptions {
    std::int64_t documents = 1000;
    int items = 10;                      // at least 3: a text, a number and a date-time come first
    std::int64_t attachmentSize = -1;    // bytes per document; negative: no attachments
    std::int64_t attachmentEvery = 1;    // every n-th document gets one
    std::string viewName = "All";
};

// The view's columns: Subject (item Field1), Amount (Field2), Date (Field3).
void generateDatabase(const std::string& path, const GenerateOptions& options);

}  // namespace velloran::tools
