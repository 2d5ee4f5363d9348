#pragma once
// What the batch tool is asked to export, read from its command line. The
// password never comes from the command line: it is read from a file, or
// from standard input when the file is "-".
#include "common/Secrets.h"

#include <optional>
#include <string>

namespace velloran::batch {

struct ServerLogin {
    std::string server;
    std::string userName;
    std::string password;

    // Every copy wipes its password from memory when it goes.
    ~ServerLogin() { tools::wipe(password); }
};

struct BatchOptions {
    // A local file, or a path relative to the server's data folder.
    std::string database;
    std::optional<ServerLogin> login;
    std::string view;
    std::string workbook;
    std::string start = "1";
    std::optional<std::string> logFolder;
};

// Throws tools::ToolError naming the option at fault.
BatchOptions parseBatchOptions(int argc, char** argv);

extern const char* const kBatchUsage;

}  // namespace velloran::batch
