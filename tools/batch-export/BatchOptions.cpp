#include "BatchOptions.h"

#include "common/CommandLine.h"
#include "common/PasswordInput.h"
#include "common/ToolError.h"

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

The registry hive is the program's: the file named by the environment
variable VELLORAN_REGISTRY, else ~/.config/velloran/registry.reg, else
/etc/velloran/registry.reg (velloran-setup --data DIR writes one).
Progress and messages go to standard error; at the end the places of the workbook, the attachment
folder and the log are printed on standard output. The exit status is 0
when the whole view was exported and 1 otherwise: when the run stopped,
or when an attachment, object or cell could not be written (the message
counts them; the log gives each one's reason).
)";


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
        tools::readPassword(options.required("password-file"), batch.login->password);
    } else if (options.has("user") || options.has("password-file")) {
        throw tools::ToolError("--user and --password-file belong to --server (see --help)");
    }
    return batch;
}

}  // namespace velloran::batch
