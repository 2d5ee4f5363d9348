#include "common/CommandLine.h"

#include "common/ToolError.h"

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

bool listed(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

CommandLine::CommandLine(int argc, char** argv, const std::vector<std::string>& valued,
                         const std::vector<std::string>& flags) {
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (!argument.starts_with("--")) throw ToolError("unexpected argument '" + argument + "' (see --help)");
        const std::string name(argument, 2);
        if (listed(flags, name)) {
            values_.insert_or_assign(name, std::string("1"));
        } else if (listed(valued, name)) {
            if (i + 1 >= argc) throw ToolError(option(name) + " needs a value");
            values_[name] = argv[++i];
        } else {
            throw ToolError("unknown " + option(name) + " (see --help)");
        }
    }
}

std::string CommandLine::required(const std::string& name) const {
    auto it = values_.find(name);
    if (it == values_.end()) throw ToolError(option(name) + " is required (see --help)");
    return it->second;
}

std::optional<std::string> CommandLine::optional(const std::string& name) const {
    auto it = values_.find(name);
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

long long CommandLine::number(const std::string& name, long long fallback, long long max) const {
    auto it = values_.find(name);
    if (it == values_.end()) return fallback;
    std::size_t used = 0;
    try {
        long long value = std::stoll(it->second, &used);
        if (used == it->second.size() && value >= 0 && value <= max) return value;
    } catch (const std::exception&) {
        // Not a number, or one beyond 64 bits: refused below like any other.
    }
    throw ToolError(option(name) + " needs a whole number from 0 to " + std::to_string(max) + ", not '" + it->second +
                    "'");
}

int runTool(const char* tool, const char* usage, int argc, char** argv, const std::function<void(int, char**)>& body) {
    try {
        for (int i = 1; i < argc; ++i)
            if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
                std::cout << usage;
                return 0;
            }
        body(argc, argv);
        return 0;
    } catch (const std::exception& e) {
        std::cerr << tool << ": error: " << e.what() << "\n";
        return 1;
    }
}

}  // namespace velloran::tools
