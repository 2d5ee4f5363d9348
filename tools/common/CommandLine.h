#pragma once
// Command-line options of the data tools: "--name value" or "--name=value"
// pairs, and flags.
#include "common/ToolError.h"

#include <climits>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace velloran::tools {

// A command line the tool cannot take: a Failure of Kind::Usage. what()
// says it in English; a tool that speaks another language words it from
// kind(), option() and value().
class UsageError : public Failure {
public:
    enum class Kind {
        UnexpectedArgument,  // value(): the argument that is not an option
        UnknownOption,
        MissingValue,
        UnwantedValue,       // a flag given "=value"
        MissingOption,
        NotANumber,          // value(): the text given; limit(): the largest number taken
    };

    UsageError(Kind kind, std::string option, std::string value = {}, long long limit = 0);

    Kind kind() const { return kind_; }
    // The option's name without "--"; empty for an unexpected argument.
    const std::string& option() const { return option_; }
    const std::string& value() const { return value_; }
    long long limit() const { return limit_; }

private:
    Kind kind_;
    std::string option_;
    std::string value_;
    long long limit_;
};

class CommandLine {
public:
    // `valued`: option names that take a value; `flags`: names that do not.
    // Throws UsageError for an argument that is not one of them.
    CommandLine(int argc, char** argv, const std::vector<std::string>& valued, const std::vector<std::string>& flags = {});

    bool has(const std::string& name) const { return values_.count(name) > 0; }
    // Throws UsageError naming the option when it is missing.
    std::string required(const std::string& name) const;
    std::optional<std::string> optional(const std::string& name) const;
    // Every value of an option that may be given more than once, in the
    // order given; required() and optional() answer the last one.
    std::vector<std::string> all(const std::string& name) const;
    // A whole number option from 0 to `max`; throws UsageError when it is not one.
    long long number(const std::string& name, long long fallback, long long max = LLONG_MAX) const;

private:
    std::map<std::string, std::vector<std::string>> values_;
};

// Runs a tool's body: prints `usage` for --help, reports any exception on
// standard error through printFailure ("<tool>: 错误: ...") and turns it
// into exit code 1. A
// signal that ends the tool first removes the files it was writing.
int runTool(const char* tool, const char* usage, int argc, char** argv, const std::function<void(int, char**)>& body);

// True when the arguments ask for --help (or -h).
bool asksForHelp(int argc, char** argv);

}  // namespace velloran::tools
