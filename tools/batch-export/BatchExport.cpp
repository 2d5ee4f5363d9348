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

// The session logged in, and the database open, as the browsing commands
// leave them.
void openDatabase(const BatchOptions& options, const std::string& hivePath, domino::BrowseState& state) {
    state.Session = std::make_unique<domino::TNotesSession>(platform::ComponentRuntime(hivePath));
    if (options.login) {
        state.Session->InitializeUsingNotesUserName(text(options.login->userName), text(options.login->password));
        state.ServerName = text(options.login->server);
    } else {
        state.Session->Initialize();
    }
    state.DatabasePath = text(options.database);
    state.CurrentDatabase = std::make_unique<domino::TNotesDatabase>();
    state.CurrentDatabase->ConnectTo(state.Session->GetDatabase(state.ServerName, state.DatabasePath));
}

// The view's name and document count, as a click on the view records them.
void openView(const BatchOptions& options, domino::BrowseState& state) {
    domino::TNotesView view;
    view.ConnectTo(state.CurrentDatabase->GetView(text(options.view)));
    state.CurrentViewName = text(options.view);
    state.ViewDocumentCount = view.AllEntriesCount();
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
    domino::BrowseState state;
    openDatabase(options, hivePath, state);
    openView(options, state);
    state.ExeFolder = executableFolder();
    state.ExportStart = text(options.start);

    const exporting::ExportLog log(options.logFolder ? QFileInfo(text(*options.logFolder)).absoluteFilePath()
                                                     : exporting::ExportLog::defaultFolder());
    const exporting::ExportOutcome outcome =
        exporting::ViewExport({state, hivePath, terminal, terminal, log}).ExportToWorkbook(workbook);
    if (outcome.result == exporting::ExportOutcome::Result::Stopped)
        throw tools::ToolError("nothing was exported: the workbook's name is empty");
    if (!outcome.completed()) return 1;
    summary << "workbook:    " << outcome.workbook.toStdString() << '\n'
            << "attachments: " << outcome.attachmentFolder.toStdString() << '\n'
            << "log:         " << log.fileFor(log.now().date()).toStdString() << '\n';
    return 0;
}

}  // namespace velloran::batch
