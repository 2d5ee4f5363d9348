#include "run/ViewExport.h"

#include "log/LogLines.h"
#include "run/ExportRun.h"
#include "run/IntegerText.h"
#include "run/WorkbookFile.h"

#include <QFileInfo>

#include <optional>

namespace velloran::exporting {

namespace {

const QString kFileFilter = QStringLiteral("Excel文件|*.xls");
const QString kStartCaption = QStringLiteral("请输入从第几个文档开始导出!");
const QString kStartPrompt = QStringLiteral("从第几个文档开始导：");
const QString kFirstDocument = QStringLiteral("1");

std::optional<Spreadsheet> startSpreadsheet(const std::string& hivePath) {
    try {
        return Spreadsheet::start(hivePath);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

}  // namespace

void ViewExport::exportExecute() {
    const QString fileName = services_.prompts.saveFileName(kFileFilter);
    if (fileName.isEmpty()) return;
    services_.state.ExportStart = kFirstDocument;
    const platform::InputResult start = services_.prompts.input(kStartCaption, kStartPrompt, services_.state.ExportStart);
    if (start.accepted) services_.state.ExportStart = start.text;
    ExportToWorkbook(fileName);
}

ExportOutcome ViewExport::ExportToWorkbook(const QString& chosenName) {
    domino::BrowseState& state = services_.state;
    if (isBlankFileName(chosenName)) return {};
    // A relative name is taken from the current folder, so that the
    // attachment folder lies beside the workbook, never at the root.
    const QString fileName = workbookFileName(QFileInfo(chosenName).absoluteFilePath(), state.ExportStart);
    if (QFileInfo::exists(fileName)) return stopWith(fileName + messages::kFileExists);
    const std::int32_t start = StrToInt(state.ExportStart);
    const std::int32_t count = state.ViewDocumentCount;
    if (std::int64_t{count} - start < 0) return stopWith(messages::kNothingToExport);
    if (state.CurrentViewName.isEmpty()) return {};

    const RunLog log(services_.log, state.ExeFolder);
    log.write(lines::exportStarted(state.CurrentViewName, fileName));
    std::optional<Spreadsheet> spreadsheet = startSpreadsheet(services_.hivePath);
    if (!spreadsheet) return stopWith(messages::kNoSpreadsheet);

    services_.wait.ShowWait();
    services_.wait.SetWaitMsg(messages::kExporting + withoutFolder(fileName) + QStringLiteral("..."));
    services_.wait.SetWaitProgress(count, 0);
    RunPlan plan{fileName, ExportPaths(folderOf(fileName), state.CurrentViewName), start, count};
    return ExportRun(services_, std::move(*spreadsheet), log, std::move(plan)).execute();
}

ExportOutcome ViewExport::stopWith(const QString& message) const {
    services_.message(message);
    return {ExportOutcome::Result::Failed, {}, {}};
}

}  // namespace velloran::exporting
