#pragma once
// Command-line options of the data tools: "--name value" pairs and flags.
#include <climits>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace velloran::tools {

class CommandLine {
public:
    // `valued`: option names that take a value; `flags`: names that do not.
    CommandLine(int argc, char** argv, const std::vector<std::string>& valued, const std::vector<std::string>& flags = {});

    bool has(const std::string& name) const { return values_.count(name) > 0; }
    // Throws ToolError naming the option when it is missing.
    std::string required(const std::string& name) const;
    std::optional<std::string> optional(const std::string& name) const;
    // A whole number option from 0 to `max`; throws ToolError when it is not one.
    long long number(const std::string& name, long long fallback, long long max = LLONG_MAX) const;

private:
    std::map<std::string, std::string> values_;
};

// Runs a tool's body: prints `usage` for --help, reports any exception on
// standard error as "<tool>: error: ..." and turns it into exit code 1.
int runTool(const char* tool, const char* usage, int argc, char** argv, const std::function<void(int, char**)>& body);

}  // namespace velloran::tools
