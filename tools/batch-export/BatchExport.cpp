#include "BatchExport.h"

#include "common/ToolError.h"
#include "component/ComponentRuntime.h"
#include "log/ExportLog.h"
#include "run/ViewExport.h"

#include <QDir>
#include <QFileInfo>

#include <filesystem>

namespace velloran::batch {

namespace {

QString text(const std::string& utf8) { return QString::fromStdString(utf8); }

// The session logged in and the database open.
struct OpenDatabase {
    domino::TNotesSession session;
    domino::TNotesDatabase database;

    OpenDatabase(const BatchOptions& options, const std::string& hivePath)
        : session(platform::ComponentRuntime(hivePath)) {
        QString server;
        if (options.login) {
            session.InitializeUsingNotesUserName(text(options.login->userName), text(options.login->password));
            server = text(options.login->server);
        } else {
            session.Initialize();
        }
        database.ConnectTo(session.GetDatabase(server, text(options.database)));
    }
};

int documentCount(OpenDatabase& opened, const QString& viewName) {
    domino::TNotesView view;
    view.ConnectTo(opened.database.GetView(viewName));
    return view.AllEntriesCount();
}

QString executableFolder() {
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? QDir::currentPath() + QLatin1Char('/') : text(exe.parent_path().string()) + QLatin1Char('/');
}

void requireWorkbookFolder(const QString& workbook) {
    const QString folder = QFileInfo(workbook).absolutePath();
    if (!QFileInfo(folder).isDir())
        throw tools::ToolError("the workbook's folder '" + folder.toStdString() + "' does not exist");
}

}  // namespace

int runBatchExport(const BatchOptions& options, const std::string& hivePath, Terminal& terminal,
                   std::ostream& summary) {
    const QString workbook = text(options.workbook);
    requireWorkbookFolder(workbook);
    OpenDatabase opened(options, hivePath);
    const QString viewName = text(options.view);
    const exporting::ExportRequest request{&opened.session, &opened.database, viewName,
                                           documentCount(opened, viewName), text(options.start), workbook,
                                           executableFolder()};

    const exporting::ExportLog log(options.logFolder ? QFileInfo(text(*options.logFolder)).absoluteFilePath()
                                                     : exporting::ExportLog::defaultFolder());
    const exporting::ExportOutcome outcome =
        exporting::ViewExport({hivePath, terminal, terminal, log}).ExportToWorkbook(request);
    if (outcome.result == exporting::ExportOutcome::Result::Stopped)
        throw tools::ToolError("nothing was exported: the workbook's name is empty");
    if (outcome.result == exporting::ExportOutcome::Result::Failed) return 1;
    summary << "workbook:    " << outcome.workbook.toStdString() << '\n'
            << "attachments: " << outcome.attachmentFolder.toStdString() << '\n'
            << "log:         " << outcome.logFile.toStdString() << '\n';
    return outcome.completed() ? 0 : 1;
}

}  // namespace velloran::batch
