#include "run/ExportRun.h"

#include "ValueText.h"
#include "log/LogLines.h"
#include "run/IntegerText.h"
#include "run/WorkbookFile.h"
#include "steps/Guarded.h"
#include "text/Gb18030.h"
#include "workbook/CellText.h"

namespace velloran::exporting {

namespace {

const QString kUniversalIdTitle = QStringLiteral("文档ID");
constexpr int kItemColumnWidth = 40;
constexpr int kNameWidthMargin = 10;

QString errorText(const std::exception& error) { return QString::fromUtf8(error.what()); }

}  // namespace

ExportRun::ExportRun(const ExportServices& services, Spreadsheet spreadsheet, const RunLog& log, RunPlan plan)
    : services_(services),
      spreadsheet_(std::move(spreadsheet)),
      log_(log),
      plan_(std::move(plan)),
      steps_([&state = services.state]() -> domino::TNotesSession& { return state.requireSession(); }, log),
      pump_(services.wait) {}

ExportOutcome ExportRun::execute() {
    try {
        openView();
    } catch (const std::exception& error) {
        return stop(messages::kViewFailed + errorText(error));
    }
    try {
        readHeader();
        writeHeader();
        for (std::int64_t k = 0; k <= std::int64_t{plan_.count} - plan_.start; ++k) exportDocument(k);
    } catch (const std::exception& error) {
        return stop(messages::kDocumentFailed + errorText(error));
    }
    return finish();
}

void ExportRun::openView() {
    view_.ConnectTo(services_.state.requireCurrentDatabase().GetView(services_.state.CurrentViewName));
}

void ExportRun::readHeader() {
    document_.ConnectTo(view_.GetNthDocument(plan_.start));
    headerNames_ = document_.Items();
}

void ExportRun::writeHeader() {
    for (qsizetype i = 0; i < headerNames_.size(); ++i) {
        const QString& name = headerNames_[i];
        const int column = static_cast<int>(i) + 2;
        spreadsheet_.setColumnWidth(column - 1, kItemColumnWidth);
        spreadsheet_.setColumnWidth(column, static_cast<int>(platform::gb18030Length(name)) + kNameWidthMargin);
        if (IsIntegerText(name)) spreadsheet_.setTextFormat(1, column);
        spreadsheet_.setCellText(1, column, name);
        spreadsheet_.setCellText(1, 1, kUniversalIdTitle);
    }
}

void ExportRun::exportDocument(std::int64_t k) {
    const int n = static_cast<int>(plan_.start + k);
    const int row = static_cast<int>(k + 2);
    // The count was taken when the view was listed; a view that has lost
    // documents since ends the run here instead of writing past its end.
    if (!document_.IsConnected())
        throw domino::DominoError("the view has no document " + std::to_string(n) + ": it holds fewer than the " +
                                  std::to_string(plan_.count) + " documents counted when it was listed");
    log_.write(lines::documentStarted(n));
    const QString universalId = document_.UniversalID();
    spreadsheet_.setCellText(row, 1, universalId);
    const QString folder = plan_.paths.documentFolder(universalId);
    if (document_.HasEmbedded()) steps_.saveAttachments(document_, n, folder);
    services_.wait.SetWaitMsg(progressText(k + 1));
    services_.wait.SetWaitProgress(plan_.count, static_cast<int>(k + 1));
    pump_.poll();
    steps_.picture(folder);
    for (qsizetype i = 0; i < headerNames_.size(); ++i) {
        fillCell(row, static_cast<int>(i) + 2, headerNames_[i], n, folder);
        pump_.poll();
    }
    moveToNext(n);
}

void ExportRun::fillCell(int row, int column, const QString& itemName, int n, const QString& folder) {
    QString cellText;
    runGuarded([&] { itemStep(itemName, n, folder, cellText); });
    runGuarded([&] { valueStep(itemName, cellText); });
    runGuarded([&] {
        spreadsheet_.setCellText(row, column, cellText);
        log_.write(lines::cellWritten());
    });
}

void ExportRun::itemStep(const QString& itemName, int n, const QString& folder, QString& cellText) {
    log_.write(lines::itemStarted(n));
    domino::TNotesItem item;
    item.ConnectTo(document_.GetFirstItem(itemName));
    if (item.Type() == notes::kRichText) steps_.richText(document_, itemName, n, folder, cellText);
}

void ExportRun::valueStep(const QString& itemName, QString& cellText) {
    const QString value = domino::valueToText(document_.GetItemValue(itemName).at(0));
    log_.write(lines::itemValue(value));
    appendItemValue(cellText, value);
}

void ExportRun::moveToNext(int n) {
    try {
        document_.ConnectTo(view_.GetNextDocument(document_));
    } catch (const std::exception&) {
        log_.write(lines::nextDocumentFailed(n));
    }
}

QString ExportRun::progressText(std::int64_t done) const {
    return messages::kExporting + withoutFolder(plan_.fileName) + QStringLiteral("...") + QString::number(done) +
           QLatin1Char('/') + QString::number(plan_.count);
}

ExportOutcome ExportRun::stop(const QString& message) {
    services_.message(message);
    const QString saveFailure = saveAndQuit();
    services_.wait.CloseWait();
    if (!saveFailure.isEmpty()) services_.message(saveFailure);
    return outcome(ExportOutcome::Result::Failed);
}

ExportOutcome ExportRun::finish() {
    const QString saveFailure = saveAndQuit();
    services_.wait.CloseWait();
    if (!saveFailure.isEmpty()) {
        services_.message(saveFailure);
        return outcome(ExportOutcome::Result::Failed);
    }
    services_.message(messages::kCompleted + plan_.paths.viewAttachmentFolder());
    return outcome(ExportOutcome::Result::Completed);
}

QString ExportRun::saveAndQuit() {
    QString failure;
    try {
        spreadsheet_.saveAs(plan_.fileName);
    } catch (const std::exception& error) {
        failure = messages::kSaveFailed + errorText(error);
    }
    spreadsheet_.quitQuietly();
    return failure;
}

ExportOutcome ExportRun::outcome(ExportOutcome::Result result) const {
    return {result, plan_.fileName, plan_.paths.viewAttachmentFolder()};
}

}  // namespace velloran::exporting
