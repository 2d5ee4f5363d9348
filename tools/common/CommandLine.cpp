#include "common/CommandLine.h"

#include "common/FailurePrint.h"
#include "files/LiveTemporaries.h"

#include <algorithm>
#include <cstring>
#include <iostream>

namespace velloran::tools {

namespace {

std::string option(const std::string& name) {
    std::string text = "option --";
    text += name;
    return text;
}

std::string usageText(UsageError::Kind kind, const std::string& name, const std::string& value, long long limit) {
    using Kind = UsageError::Kind;
    switch (kind) {
        case Kind::UnexpectedArgument: return "unexpected argument '" + value + "' (see --help)";
        case Kind::UnknownOption: return "unknown " + option(name) + " (see --help)";
        case Kind::MissingValue: return option(name) + " needs a value";
        case Kind::UnwantedValue: return option(name) + " takes no value";
        case Kind::MissingOption: return option(name) + " is required (see --help)";
        case Kind::NotANumber:
            return option(name) + " needs a whole number from 0 to " + std::to_string(limit) + ", not '" + value + "'";
    }
    return option(name) + " cannot be used here";
}

bool listed(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

UsageError::UsageError(Kind kind, std::string option, std::string value, long long limit)
    : Failure(Failure::Kind::Usage, usageText(kind, option, value, limit)),
      kind_(kind),
      option_(std::move(option)),
      value_(std::move(value)),
      limit_(limit) {}

CommandLine::CommandLine(int argc, char** argv, const std::vector<std::string>& valued,
                         const std::vector<std::string>& flags) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (!argument.starts_with("--")) throw UsageError(UsageError::Kind::UnexpectedArgument, {}, argument);
        // "--name=value" holds its value; "--name" takes the next argument.
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
        const bool inlineValue = equals != std::string::npos;
        if (listed(flags, name)) {
            if (inlineValue) throw UsageError(UsageError::Kind::UnwantedValue, name);
            values_.insert_or_assign(name, std::vector<std::string>{"1"});
        } else if (listed(valued, name)) {
            if (inlineValue) {
                values_[name].push_back(argument.substr(equals + 1));
            } else {
                if (i + 1 >= argc) throw UsageError(UsageError::Kind::MissingValue, name);
                values_[name].push_back(argv[++i]);
            }
        } else {
            throw UsageError(UsageError::Kind::UnknownOption, name);
        }
    }
}

std::string CommandLine::required(const std::string& name) const {
    auto it = values_.find(name);
    if (it == values_.end()) throw UsageError(UsageError::Kind::MissingOption, name);
    return it->second.back();
}

std::optional<std::string> CommandLine::optional(const std::string& name) const {
    auto it = values_.find(name);
    if (it == values_.end()) return std::nullopt;
    return it->second.back();
}

std::vector<std::string> CommandLine::all(const std::string& name) const {
    auto it = values_.find(name);
    return it == values_.end() ? std::vector<std::string>{} : it->second;
}

long long CommandLine::number(const std::string& name, long long fallback, long long max) const {
    auto it = values_.find(name);
    if (it == values_.end()) return fallback;
    const std::string& text = it->second.back();
    std::size_t used = 0;
    try {
        long long value = std::stoll(text, &used);
        if (used == text.size() && value >= 0 && value <= max) return value;
    } catch (const std::exception&) {
        // Not a number, or one beyond 64 bits: refused below like any other.
    }
    throw UsageError(UsageError::Kind::NotANumber, name, text, max);
}

bool asksForHelp(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) return true;
    return false;
}

int runTool(const char* tool, const char* usage, int argc, char** argv, const std::function<void(int, char**)>& body) {
    try {
        if (asksForHelp(argc, argv)) {
            std::cout << usage;
            return 0;
        }
        platform::removeTemporariesOnTermination();
        body(argc, argv);
        return 0;
    } catch (const std::exception& e) {
        printFailure(std::cerr, tool, e, asksForVerbose(argc, argv));
        return 1;
    }
}

}  // namespace velloran::tools
