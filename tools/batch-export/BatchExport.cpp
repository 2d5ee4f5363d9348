#include "BatchExport.h"

#include "BatchSession.h"

#include "log/ExportLog.h"
#include "log/LogLine.h"
#include "run/IntegerText.h"
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

// The export's own refusals, worded for the command line: the option that
// replaces a workbook, and why the view holds nothing from --start on.
void requireExportable(const exporting::ExportRequest& request, domino::TNotesView& view) {
    const QString file = request.workbookFile();
    if (!request.replaceExisting && QFileInfo::exists(file))
        throw batchFailure(platform::Failure::Kind::File, file + exporting::messages::kFileExists + QStringLiteral("（加 --overwrite 覆盖）"));
    const std::int32_t start = exporting::parseInteger(request.startText).value_or(1);
    if (start <= request.documentCount) return;
    if (const std::string unreadable = view.DefaultInterface()->UnreadableFormula(); !unreadable.empty())
        throw batchFailure(platform::Failure::Kind::Database, QStringLiteral("视图“%1”中没有可导出的文档：它的公式无法求值（%2）")
                                                                .arg(exporting::writtenOut(request.viewName), exporting::writtenOut(QString::fromStdString(unreadable))));
    throw batchFailure(platform::Failure::Kind::Input,
                       QStringLiteral("--start %1 超出范围：视图只有 %2 个文档").arg(start).arg(request.documentCount));
}

QString resultText(const ExportOutcome& outcome, std::int32_t count) {
    switch (outcome.result) {
        case ExportOutcome::Result::Completed: return QStringLiteral("已全部导出");
        case ExportOutcome::Result::Incomplete:
            return QStringLiteral("未全部导出: %1个附件、%2个RichText对象、%3个单元格未能导出")
                .arg(outcome.losses.attachments)
                .arg(outcome.losses.objects)
                .arg(outcome.losses.cells) +
                   (outcome.losses.logLines > 0
                        ? QStringLiteral("，%1行日志未能写入").arg(outcome.losses.logLines)
                        : QString());
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
    requireExportable(request, view);
    const exporting::ExportLog log(options.logFolder ? QFileInfo(text(*options.logFolder)).absoluteFilePath()
                                                     : exporting::ExportLog::defaultFolder());
    const ExportOutcome outcome =
        exporting::ViewExport({hivePath, terminal, terminal, log, &stop}).ExportToWorkbook(request);
    printSummary(outcome, request.documentCount, summary);
    return statusOf(outcome);
}

}  // namespace velloran::batch
