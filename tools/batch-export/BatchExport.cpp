#include "BatchExport.h"

#include "BatchSession.h"

#include "log/ExportLog.h"
#include "run/ViewExport.h"
#include "run/WorkbookFile.h"

#include <QDir>
#include <QFileInfo>

#include <filesystem>

namespace velloran::batch {

namespace {

using exporting::ExportOutcome;

QString text(const std::string& utf8) { return QString::fromStdString(utf8); }

QString executableFolder() {
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? QDir::currentPath() + QLatin1Char('/') : text(exe.parent_path().string()) + QLatin1Char('/');
}

// --out names a file in a folder that exists, never a folder.
void requireWorkbookPlace(const QString& workbook) {
    if (exporting::isBlankFileName(workbook)) throw usageFailure(QStringLiteral("--out 不能为空"));
    if (workbook.endsWith(QLatin1Char('/')) || QFileInfo(workbook).isDir())
        throw usageFailure(QStringLiteral("--out 应为工作簿的文件名，而 %1 是一个目录").arg(workbook));
    const QString folder = QFileInfo(workbook).absolutePath();
    if (!QFileInfo(folder).isDir())
        throw batchFailure(platform::Failure::Kind::Folder, QStringLiteral("工作簿所在的目录 %1 不存在").arg(folder));
}

QString resultText(const ExportOutcome& outcome, std::int32_t count) {
    switch (outcome.result) {
        case ExportOutcome::Result::Completed: return QStringLiteral("已全部导出");
        case ExportOutcome::Result::Incomplete:
            return QStringLiteral("未全部导出: %1个附件、%2个RichText对象、%3个单元格未能导出")
                .arg(outcome.losses.attachments)
                .arg(outcome.losses.objects)
                .arg(outcome.losses.cells);
        case ExportOutcome::Result::Interrupted:
            return QStringLiteral("在第%1个文档处中断，第%1到第%2个文档未导出").arg(outcome.interruptedAt).arg(count);
        case ExportOutcome::Result::Failed:
        case ExportOutcome::Result::Stopped: break;
    }
    return outcome.saved ? QStringLiteral("导出出错，已停止（工作簿保存了出错之前的内容）") : QStringLiteral("未导出");
}

void printSummary(const ExportOutcome& outcome, std::int32_t count, std::ostream& summary) {
    if (outcome.saved)
        summary << "工作簿: " << outcome.workbook.toStdString() << '\n'
                << "附件:   " << outcome.attachmentFolder.toStdString() << '\n';
    if (!outcome.logFile.isEmpty()) summary << "日志:   " << outcome.logFile.toStdString() << '\n';
    summary << "结果:   " << resultText(outcome, count).toStdString() << '\n' << std::flush;
}

ExitStatus statusOf(const ExportOutcome& outcome) {
    if (outcome.completed()) return kExported;
    return outcome.result == ExportOutcome::Result::Interrupted ? kInterrupted : kNotExported;
}

}  // namespace

ExitStatus runBatchExport(const BatchOptions& options, const std::string& hivePath, Terminal& terminal,
                          const std::atomic<bool>& stop, std::ostream& summary) {
    const QString workbook = text(options.workbook);
    requireWorkbookPlace(workbook);
    BatchSession session(options, hivePath);
    domino::TNotesDatabase database;
    session.openDatabase(text(options.database), database);
    const QString viewName = text(options.view);
    domino::TNotesView view;
    BatchSession::openView(database, viewName, view);

    exporting::ExportRequest request{&session.session(), &database, viewName, view.AllEntriesCount(),
                                     text(options.start), workbook, executableFolder()};
    request.exactName = options.exactName;
    request.replaceExisting = options.overwrite;
    request.columns = options.columns;
    request.typedCells = options.typed;
    request.format = options.format;
    const exporting::ExportLog log(options.logFolder ? QFileInfo(text(*options.logFolder)).absoluteFilePath()
                                                     : exporting::ExportLog::defaultFolder());
    const ExportOutcome outcome =
        exporting::ViewExport({hivePath, terminal, terminal, log, &stop}).ExportToWorkbook(request);
    printSummary(outcome, request.documentCount, summary);
    return statusOf(outcome);
}

}  // namespace velloran::batch
