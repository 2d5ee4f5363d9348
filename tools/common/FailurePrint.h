#pragma once
// How every tool prints an error: "<tool>: 错误: <text>" and, for each
// further line of the description, "<tool>: <line>" (see describeFailure).
#include <exception>
#include <ostream>

namespace velloran::tools {

void printFailure(std::ostream& err, const char* tool, const std::exception& error, bool verbose);

// Whether the arguments ask for --verbose.
bool asksForVerbose(int argc, char** argv);

}  // namespace velloran::tools
