#include "run/ViewExport.h"

#include "errors/Failure.h"

#include "log/LogLines.h"
#include "run/Diagnostics.h"
#include "run/ExportRun.h"
#include "run/IntegerText.h"
#include "run/WorkbookFile.h"

#include <QFileInfo>

#include <optional>

namespace velloran::exporting {

namespace {

std::optional<Spreadsheet> startSpreadsheet(const std::string& hivePath) {
    try {
        return Spreadsheet::start(hivePath);
    } catch (const std::exception& error) {
        // The user is told to install the application; the precise reason
        // is kept for whoever looks into it.
        qCWarning(exportDiagnostics) << "the spreadsheet application did not start:" << platform::originalOf(error).c_str();
        return std::nullopt;
    }
}

}  // namespace

ExportOutcome ViewExport::ExportToWorkbook(const ExportRequest& request) {
    if (isBlankFileName(request.chosenName)) return {};
    const QString fileName = request.workbookFile();
    if (QFileInfo::exists(fileName) && !request.replaceExisting) return stopWith(fileName + messages::kFileExists);
    if (const QString refusal = whyCannotSaveAs(fileName, request.replaceExisting); !refusal.isEmpty())
        return stopWith(refusal);
    const std::int32_t start = StrToInt(request.startText);
    if (start < 1) return stopWith(messages::kStartBelowOne + request.startText);
    const std::int32_t count = request.documentCount;
    if (std::int64_t{count} - start < 0) return stopWith(messages::kNothingToExport);
    if (request.viewName.isEmpty()) return {};

    const RunLog log(services_.log, request.exeFolder);
    log.write(lines::exportStarted(request.viewName, fileName));
    // Written before anything is created: a log that cannot be written
    // stops the command here.
    log.flush();
    std::optional<Spreadsheet> spreadsheet = startSpreadsheet(services_.hivePath);
    if (!spreadsheet) return stopWith(messages::kNoSpreadsheet);

    services_.wait.ShowWait();
    services_.wait.SetWaitMsg(messages::kExporting + withoutFolder(fileName) + QStringLiteral("..."));
    services_.wait.SetWaitProgress(count, 0);
    RunPlan plan{fileName, ExportPaths(folderOf(fileName), request.viewName), start, count};
    return ExportRun(services_, request, std::move(*spreadsheet), log, std::move(plan)).execute();
}

ExportOutcome ViewExport::stopWith(const QString& message) const {
    services_.message(message);
    return {ExportOutcome::Result::Failed, {}, {}, {}, {}};
}

}  // namespace velloran::exporting
