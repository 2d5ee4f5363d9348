#include "common/FailurePrint.h"

#include "errors/Failure.h"

#include <cstring>
#include <sstream>
#include <string>

namespace velloran::tools {

void printFailure(std::ostream& err, const char* tool, const std::exception& error, bool verbose) {
    std::istringstream lines(platform::describeFailure(error, verbose));
    std::string out;
    bool first = true;
    for (std::string line; std::getline(lines, line); first = false)
        out.append(tool).append(first ? ": 错误: " : ": ").append(line) += '\n';
    err << out << std::flush;
}

bool asksForVerbose(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--verbose") == 0) return true;
    return false;
}

}  // namespace velloran::tools
