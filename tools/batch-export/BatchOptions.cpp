#include "BatchOptions.h"

#include "common/CommandLine.h"
#include "common/ToolError.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace velloran::batch {

const char* const kBatchUsage = R"(Usage: velloran-export --database PATH --view NAME --out FILE.xls [--start N]
                      [--server NAME --user NAME --password-file FILE|-]
                      [--log-folder DIR]

Exports the documents of one view, from document N (default 1) to the end
of the view, into an Excel 97-2003 workbook, exactly as the program's
"导出数据" command does: the workbook is named FILE + "_开始为第" + N +
"个文档.xls" (a ".xls" ending of FILE is dropped first), every document's
attachments and the first object of each rich-text item are saved under
<folder of FILE>/<view>附件/<universal ID>/, and every step is appended to
the day's log file log<yyyyMMdd>.txt.

  --database PATH       a local database file; with --server, the database's
                        path in the server's data folder ("apps\sales.nsf")
  --server NAME         log in to this server instead of opening a local file
  --user NAME           the user name for --server
  --password-file FILE  the file whose first line is the password for
                        --server; "-" reads it from standard input. The
                        password is never taken from the command line.
  --view NAME           the view (name or alias) to export
  --out FILE            the workbook's name; its folder must exist
  --start N             the document number to start at (default 1)
  --log-folder DIR      where the daily log files go
                        (default ~/.local/share/velloran/)

The registry hive is the program's: /etc/velloran/registry.reg, or the file
named by the environment variable VELLORAN_REGISTRY. Progress and messages
go to standard error; at the end the places of the workbook, the attachment
folder and the log are printed on standard output. The exit status is 0
when the whole view was exported and 1 otherwise: when the run stopped,
or when an attachment, object or cell could not be written (the message
counts them; the log gives each one's reason).
)";

namespace {

// Room for the longest password taken; reserved up front, so the text is
// never moved to a larger buffer that would leave a copy behind.
constexpr std::size_t kMaxPasswordBytes = 1024;

// Where the password is read from; a file it opened is closed again.
struct PasswordSource {
    int fd = -1;
    bool opened = false;
    ~PasswordSource() {
        if (opened && fd >= 0) ::close(fd);
    }
};

// Appends the first line of `fd` to `line` one byte at a time, so no stream
// buffer keeps a copy of the password.
// `where` names the source in messages.
void readFirstLine(int fd, const std::string& where, std::string& line) {
    char byte = 0;
    while (true) {
        ssize_t got = ::read(fd, &byte, 1);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) throw tools::ToolError("cannot read " + where + ": " + std::strerror(errno));
        if (got == 0 || byte == '\n') break;
        if (line.size() == kMaxPasswordBytes)
            throw tools::ToolError("the password in " + where + " is longer than " +
                                   std::to_string(kMaxPasswordBytes) + " bytes");
        line.push_back(byte);
    }
    sodium_memzero(&byte, sizeof byte);
}

// Reads the first line of the file ("-": standard input) into `password`.
void readPassword(const std::string& source, std::string& password) {
    const bool standardInput = source == "-";
    const std::string where = standardInput ? std::string("standard input") : "the password file '" + source + "'";
    PasswordSource input{standardInput ? STDIN_FILENO : ::open(source.c_str(), O_RDONLY | O_CLOEXEC), !standardInput};
    if (input.fd < 0) throw tools::ToolError("cannot read " + where + ": " + std::strerror(errno));
    password.reserve(kMaxPasswordBytes);
    readFirstLine(input.fd, where, password);
    if (!password.empty() && password.back() == '\r') password.pop_back();
}

}  // namespace

BatchOptions parseBatchOptions(int argc, char** argv) {
    tools::CommandLine options(argc, argv,
                               {"database", "server", "user", "password-file", "view", "out", "start", "log-folder"});
    BatchOptions batch;
    batch.database = options.required("database");
    batch.view = options.required("view");
    batch.workbook = options.required("out");
    batch.start = options.optional("start").value_or(batch.start);
    batch.logFolder = options.optional("log-folder");
    if (options.has("server")) {
        batch.login.emplace(ServerLogin{options.required("server"), options.required("user"), {}});
        readPassword(options.required("password-file"), batch.login->password);
    } else if (options.has("user") || options.has("password-file")) {
        throw tools::ToolError("--user and --password-file belong to --server (see --help)");
    }
    return batch;
}

}  // namespace velloran::batch
