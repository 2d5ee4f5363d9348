#include "common/CommandLine.h"

#include "common/FailurePrint.h"
#include "files/LiveTemporaries.h"

#include <algorithm>
#include <iostream>

namespace velloran::tools {

namespace {

std::string option(const std::string& name) { return "选项 --" + name; }

std::string usageText(UsageError::Kind kind, const std::string& name, const std::string& value, long long limit) {
    using Kind = UsageError::Kind;
    switch (kind) {
        case Kind::UnexpectedArgument: return "多余的参数 '" + value + "'（见 --help）";
        case Kind::UnknownOption: return "未知的选项 --" + name + "（见 --help）";
        case Kind::MissingValue: return option(name) + " 需要一个值";
        case Kind::UnwantedValue: return option(name) + " 不带值";
        case Kind::MissingOption: return "缺少选项 --" + name + "（见 --help）";
        case Kind::NotANumber:
            return option(name) + " 需要一个 0 到 " + std::to_string(limit) + " 的整数，而不是 '" + value + "'";
    }
    return option(name) + " 不能在这里使用";
}

bool listed(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

bool givenArgument(int argc, char** argv, const std::vector<std::string>& names) {
    for (int i = 1; i < argc; ++i)
        if (listed(names, argv[i])) return true;
    return false;
}

// Every program's help ends with the two options every program takes.
constexpr const char* kHelpAndVersionLines = R"(
  --help      显示本说明后退出
  --version   显示版本后退出
)";

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

bool printedHelpOrVersion(const char* program, const char* usage, int argc, char** argv, std::ostream& out) {
    if (givenArgument(argc, argv, {"--help", "-h"})) {
        out << usage << kHelpAndVersionLines << std::flush;
        return true;
    }
    if (givenArgument(argc, argv, {"--version"})) {
        out << program << ' ' << VELLORAN_VERSION << '\n' << std::flush;
        return true;
    }
    return false;
}

int runTool(const char* tool, const char* usage, int argc, char** argv, const std::function<void(int, char**)>& body) {
    try {
        if (printedHelpOrVersion(tool, usage, argc, argv, std::cout)) return 0;
        platform::removeTemporariesOnTermination();
        body(argc, argv);
        return 0;
    } catch (const UsageError& e) {
        printFailure(std::cerr, tool, e, false);
        return kUsageStatus;
    } catch (const std::exception& e) {
        printFailure(std::cerr, tool, e, asksForVerbose(argc, argv));
        return kFailedStatus;
    }
}

}  // namespace velloran::tools
