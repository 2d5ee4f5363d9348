#pragma once
// The command line every program shares: options as "--name value" or
// "--name=value" pairs and flags, --help and --version, and the exit
// statuses.
#include "common/ToolError.h"

#include <climits>
#include <exception>
#include <functional>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace velloran::tools {

// Every program ends with 0 when it did what it was asked, 1 when it
// failed (or lost anything), 2 when its command line is wrong.
inline constexpr int kFailedStatus = 1;
inline constexpr int kUsageStatus = 2;

// A command line the tool cannot take: a Failure of Kind::Usage. what()
// says it to the user; a tool that words it otherwise does so from kind(),
// option() and value().
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

// Runs a tool's body: answers --help and --version, reports any exception
// on standard error through printFailure() ("<tool>: 错误: ...", the English
// detail too with --verbose) and turns it into exit status 1, or 2 for a
// UsageError. A signal that ends the tool first removes the files it was
// writing.
int runTool(const char* tool, const char* usage, int argc, char** argv, const std::function<void(int, char**)>& body);

// When an argument asks for --help (or -h), prints `usage` followed by the
// lines on --help and --version; else, when one asks for --version, prints
// "<program> <version>". Returns whether it printed: the program then ends
// with status 0 having done nothing else (no window, no file, no prompt).
bool printedHelpOrVersion(const char* program, const char* usage, int argc, char** argv, std::ostream& out);

}  // namespace velloran::tools
