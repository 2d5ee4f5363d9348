#pragma once
// Runs a command-line tool through the shell and collects what it prints.
#include <array>
#include <fcntl.h>
#include <cstdio>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

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

// The shell command `prefix program args...` (prefix: environment
// settings) with no input, standard error joined to standard output.
inline std::string commandLine(const std::string& prefix, const std::string& program,
                               const std::vector<std::string>& args) {
    std::string command = prefix;
    command.append(" ").append(shellQuoted(program));
    for (const std::string& arg : args) command.append(" ").append(shellQuoted(arg));
    return command.append(" 2>&1 </dev/null");
}

// Runs commandLine(prefix, program, args) and collects what it prints.
inline ToolRun runProcess(const std::string& prefix, const std::string& program, const std::vector<std::string>& args) {
    FILE* pipe = ::popen(commandLine(prefix, program, args).c_str(), "r");
    ToolRun run;
    std::array<char, 4096> chunk{};
    for (std::size_t got; (got = std::fread(chunk.data(), 1, chunk.size(), pipe)) > 0;) run.output.append(chunk.data(), got);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// Starts `program args...` in the background with `setting` ("NAME=value")
// added to this process's environment, standard output and error going to
// the file `outputFile`, no input. Returns its process id.
inline pid_t startProcess(const std::string& setting, const std::string& program, const std::vector<std::string>& args,
                          const std::string& outputFile) {
    std::vector<std::string> texts = {program};
    texts.insert(texts.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& text : texts) argv.push_back(text.data());
    argv.push_back(nullptr);
    std::string added = setting;
    std::vector<char*> envp = {added.data()};
    for (char** variable = environ; *variable; ++variable) envp.push_back(*variable);
    envp.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files, 1, outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_adddup2(&files, 1, 2);
    pid_t pid = -1;
    const int failed = posix_spawn(&pid, program.c_str(), &files, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&files);
    if (failed != 0) throw std::runtime_error("cannot start " + program);
    return pid;
}

// The exit status of a process started by startProcess, once it has ended;
// -1 when a signal ended it.
inline int waitForExit(pid_t pid) {
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace velloran::testing
