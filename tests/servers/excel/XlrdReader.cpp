#include "XlrdReader.h"

#include <array>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <sys/wait.h>

namespace velloran::testing {

namespace {

std::string quoted(const std::string& text) {
    std::string result = "'";
    for (char c : text) result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return result + "'";
}

}  // namespace

nlohmann::json runPythonOn(const char* script, const std::string& path, const char* options) {
    std::string command = std::string("/usr/bin/python3 ") + script + " " + quoted(path) + options + " 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) throw std::runtime_error("cannot run " + command);
    std::string output;
    std::array<char, 65536> chunk{};
    for (std::size_t got; (got = std::fread(chunk.data(), 1, chunk.size(), pipe)) > 0;) output.append(chunk.data(), got);
    int status = ::pclose(pipe);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error(std::string(script) + " failed:\n" + output);
    try {
        return nlohmann::json::parse(output);
    } catch (const nlohmann::json::exception&) {
        throw std::runtime_error(std::string(script) + " printed more than JSON:\n" + output.substr(0, 2000));
    }
}

nlohmann::json readWithXlrd(const std::string& path, bool brief) {
    return runPythonOn(VELLORAN_XLRD_DUMP, path, brief ? " --brief" : "");
}

const nlohmann::json* findCell(const nlohmann::json& sheet, int row, int column) {
    for (const nlohmann::json& cell : sheet["cells"])
        if (cell[0] == row && cell[1] == column) return &cell;
    return nullptr;
}

}  // namespace velloran::testing
