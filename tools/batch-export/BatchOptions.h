#pragma once
// What the batch tool is asked to do, read from its command line. The
// password never comes from the command line: it is read from a file, or
// from standard input when the file is "-".
#include "common/Secrets.h"
#include "run/ExportRequest.h"

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
    // --list instead of an export.
    bool list = false;
    // A local file, or a path relative to the server's data folder; empty
    // only for --list with --server.
    std::string database;
    std::optional<ServerLogin> login;
    std::string view;
    std::string workbook;
    std::string start = "1";
    std::optional<std::string> logFolder;
    // The workbook is written as `workbook` itself.
    bool exactName = false;
    // A run that goes to its end replaces an existing workbook.
    bool overwrite = false;
    // No progress on standard error.
    bool quiet = false;
    // The libraries' diagnostics (in English, for finding a fault) on
    // standard error too.
    bool verbose = false;
    exporting::ColumnRule columns = exporting::ColumnRule::Items;
    // --format; none: the one the --out name's ending says.
    std::optional<exporting::WorkbookFormat> format;
    // Numbers and moments as typed cells.
    bool typed = false;
};

// Throws a Failure of Kind::Usage, in Chinese, naming the
// option at fault. Reads the password when --server is given.
BatchOptions parseBatchOptions(int argc, char** argv);

extern const char* const kBatchUsage;

}  // namespace velloran::batch
