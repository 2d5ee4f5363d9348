#pragma once
// Runs a command-line tool through the shell and collects what it prints.
#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace velloran::testing {

struct ToolRun {
    int status = -1;
    std::string output;  // standard output, then standard error
};

// `text` quoted for the shell.
inline std::string shellQuoted(const std::string& text) {
    std::string result = "'";
    for (char c : text) result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return result + "'";
}

// Runs `prefix program args...` (prefix: environment settings) with no
// input, standard error joined to standard output.
inline ToolRun runProcess(const std::string& prefix, const std::string& program, const std::vector<std::string>& args) {
    std::string command = prefix;
    command.append(" ").append(shellQuoted(program));
    for (const std::string& arg : args) command.append(" ").append(shellQuoted(arg));
    FILE* pipe = ::popen(command.append(" 2>&1 </dev/null").c_str(), "r");
    ToolRun run;
    std::array<char, 4096> chunk{};
    for (std::size_t got; (got = std::fread(chunk.data(), 1, chunk.size(), pipe)) > 0;) run.output.append(chunk.data(), got);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

}  // namespace velloran::testing
