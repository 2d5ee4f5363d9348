#include "run/ExportRun.h"

#include "ValueText.h"
#include "errors/Failure.h"
#include "log/LogLines.h"
#include "run/IntegerText.h"
#include "run/WorkbookFile.h"
#include "text/Gb18030.h"
#include "workbook/CellText.h"

namespace velloran::exporting {

namespace {

const QString kUniversalIdTitle = QStringLiteral("文档ID");
const QString kNextDocument = QStringLiteral("下一个文档");
constexpr int kItemColumnWidth = 40;
constexpr int kNameWidthMargin = 10;

QString errorText(const std::exception& error) {
    return QString::fromStdString(platform::describeFailure(error, false));
}

}  // namespace

ExportRun::ExportRun(const ExportServices& services, const ExportRequest& request, Spreadsheet spreadsheet,
                     const RunLog& log, RunPlan plan)
    : services_(services),
      request_(request),
      spreadsheet_(std::move(spreadsheet)),
      log_(log),
      plan_(std::move(plan)),
      folders_(plan_.paths),
      guard_(log),
      steps_(request, log, guard_, losses_),
      pump_(services.wait) {
    // A log line that cannot be written does not end the export: the lines
    // lost are counted and told at its end.
    log_.keepGoingOnFailure();
}

ExportOutcome ExportRun::execute() {
    folders_.prepare();
    try {
        openView();
    } catch (const std::exception& error) {
        return stop(messages::kViewFailed + errorText(error));
    }
    try {
        readHeader();
        writeHeader();
        for (std::int64_t k = 0; k <= std::int64_t{plan_.count} - plan_.start; ++k) {
            // The cancel point: a stop asked for during a document takes
            // effect once that document is written.
            if (stopRequested()) return interrupt(static_cast<std::int32_t>(plan_.start + k));
            exportDocument(k);
        }
    } catch (const std::exception& error) {
        return stop(messages::kDocumentFailed + errorText(error));
    }
    return finish();
}

bool ExportRun::stopRequested() const {
    return services_.stopRequested && services_.stopRequested->load(std::memory_order_relaxed);
}

void ExportRun::openView() { view_.ConnectTo(request_.requireDatabase().GetView(request_.viewName)); }

void ExportRun::readHeader() {
    document_.ConnectTo(view_.GetNthDocument(plan_.start));
    itemNames_ = document_.Items();
    itemOccurrences_ = domino::occurrencesOf(itemNames_);
    headerNames_ = request_.columns == ColumnRule::View ? view_.ColumnNames() : itemNames_;
}

void ExportRun::writeHeader() {
    for (qsizetype i = 0; i < headerNames_.size(); ++i) {
        const QString& name = headerNames_[i];
        const int column = static_cast<int>(i) + 2;
        spreadsheet_.setColumnWidth(column - 1, kItemColumnWidth);
        spreadsheet_.setColumnWidth(column, static_cast<int>(platform::gb18030Length(name)) + kNameWidthMargin);
        if (IsIntegerText(name)) spreadsheet_.setTextFormat(1, column);
        spreadsheet_.setCellText(1, column, name);
    }
    // The universal IDs' column has its title even when there are no others.
    spreadsheet_.setCellText(1, 1, kUniversalIdTitle);
}

void ExportRun::exportDocument(std::int64_t k) {
    const int n = static_cast<int>(plan_.start + k);
    const int row = static_cast<int>(k + 2);
    // The count was taken when the view was listed; a view that has lost
    // documents since ends the run here instead of writing past its end.
    if (!document_.IsConnected())
        throw platform::Failure(platform::Failure::Kind::Database,
                                "视图中已没有第 " + std::to_string(n) + " 个文档：它比列出时的 " +
                                    std::to_string(plan_.count) + " 个文档少",
                                {"", "the view has no document " + std::to_string(n) + ": it holds fewer than the " +
                                         std::to_string(plan_.count) + " documents counted when it was listed",
                                 0, false});
    log_.write(lines::documentStarted(n));
    const QString universalId = document_.UniversalID();
    spreadsheet_.setCellText(row, 1, universalId);
    DocumentFolder folder(folders_, plan_.paths, universalId);
    if (document_.HasEmbedded()) steps_.saveAttachments(document_, n, folder);
    services_.wait.SetWaitMsg(progressText(k + 1));
    services_.wait.SetWaitProgress(plan_.count, static_cast<int>(k + 1));
    pump_.poll();
    steps_.picture(folder.path());
    if (request_.columns == ColumnRule::View) fillColumnRow(row, n, folder);
    else fillItemRow(row, n, folder);
    moveToNext(n);
    log_.flush();
}

void ExportRun::fillItemRow(int row, int n, DocumentFolder& folder) {
    for (qsizetype i = 0; i < itemNames_.size(); ++i) {
        fillCell(row, static_cast<int>(i) + 2, itemNames_[i], itemOccurrences_[i], n, folder);
        pump_.poll();
    }
}

// The rich-text items of the start document's item names give up their
// first objects as under the items rule, so that both rules save the same
// files; then the column values are read once and written cell by cell.
void ExportRun::fillColumnRow(int row, int n, DocumentFolder& folder) {
    for (qsizetype i = 0; i < itemNames_.size(); ++i) {
        const QString& itemName = itemNames_[i];
        const int occurrence = itemOccurrences_[i];
        if (!guard_.run(n, itemName, [&] { richTextStep(itemName, occurrence, n, folder); })) ++losses_.objects;
        pump_.poll();
    }
    const RowColumnValues values(document_);
    for (qsizetype i = 0; i < headerNames_.size(); ++i) {
        fillColumnCell(row, static_cast<int>(i) + 2, values, i, n);
        pump_.poll();
    }
}

// As an item's cell without the item step, under the column's title.
void ExportRun::fillColumnCell(int row, int column, const RowColumnValues& values, qsizetype index, int n) {
    QString cellText;
    if (!valueAndWriteSteps(row, column, headerNames_[index], n, cellText, [&] { return cellValueOf(values.at(index)); }))
        ++losses_.cells;
}

// The item step, the value step and the write step each run guarded. A
// cell with any failed step counts as not exported.
void ExportRun::fillCell(int row, int column, const QString& itemName, int occurrence, int n,
                         DocumentFolder& folder) {
    QString cellText;
    const bool itemRead = guard_.run(n, itemName, [&] { itemStep(itemName, occurrence, n, folder, cellText); });
    const bool valueWritten = valueAndWriteSteps(row, column, itemName, n, cellText, [&] {
        const notes::ValueList values = document_.GetNthItemValue(itemName, occurrence);
        // An item with no values at all leaves its cell empty.
        return cellValueOf(values.empty() ? nullptr : &values.front());
    });
    if (!(itemRead && valueWritten)) ++losses_.cells;
}

ExportRun::CellValue ExportRun::cellValueOf(const notes::Value* value) const {
    if (!value) return {};
    return {domino::valueToText(*value), request_.typedCells ? typedCellOf(*value) : TypedCell{}};
}

template <class Read>
bool ExportRun::valueAndWriteSteps(int row, int column, const QString& name, int n, QString& cellText, Read read) {
    CellValue value;
    const WorkbookFormat format = formatOfName(plan_.fileName);
    bool whole = true;
    const bool valueRead = guard_.run(n, name, [&] {
        value = read();
        whole = appendItemValue(cellText, value.text, format);
    });
    const bool written = guard_.run(n, name, [&] { writeCell(row, column, cellText, value); });
    if (valueRead) log_.write(lines::itemValue(value.text));
    if (written) log_.write(lines::cellWritten());
    // A text cut to what the cell holds is written, and its cut is a loss.
    if (!whole) log_.write(lines::documentStepFailed(n, name, cutReason(format)));
    return valueRead && written && whole;
}

// A typed value stands for the cell only when the cell's text is the
// value's text alone (no rich text before it, nothing cut off).
void ExportRun::writeCell(int row, int column, const QString& cellText, const CellValue& value) {
    const TypedCell::Kind kind = value.typed.kind != TypedCell::Kind::Text && cellText == value.text
                                     ? value.typed.kind
                                     : TypedCell::Kind::Text;
    switch (kind) {
    case TypedCell::Kind::Number: spreadsheet_.setCellNumber(row, column, value.typed.number); return;
    case TypedCell::Kind::DateTime: spreadsheet_.setCellDateTime(row, column, value.typed.number); return;
    case TypedCell::Kind::Date: spreadsheet_.setCellDate(row, column, value.typed.number); return;
    case TypedCell::Kind::Text: spreadsheet_.setCellText(row, column, cellText); return;
    }
}

void ExportRun::itemStep(const QString& itemName, int occurrence, int n, DocumentFolder& folder,
                         QString& cellText) {
    log_.write(lines::itemStarted(n));
    // A document without the item leaves its cell empty.
    if (isRichText(itemName, occurrence)) steps_.richText(document_, itemName, occurrence, n, folder, cellText);
}

void ExportRun::richTextStep(const QString& itemName, int occurrence, int n, DocumentFolder& folder) {
    if (!isRichText(itemName, occurrence)) return;
    log_.write(lines::itemStarted(n));
    QString formattedText;
    steps_.richText(document_, itemName, occurrence, n, folder, formattedText);
}

bool ExportRun::isRichText(const QString& itemName, int occurrence) {
    domino::TNotesItem item;
    item.ConnectTo(document_.GetNthItem(itemName, occurrence));
    return item.IsConnected() && item.Type() == notes::kRichText;
}

// A failed move is logged, then the walk re-points at the next document by
// its position, so that no document is written twice; when that fails too,
// the run ends.
void ExportRun::moveToNext(int n) {
    try {
        document_.ConnectTo(view_.GetNextDocument(document_));
        return;
    } catch (const std::exception& error) {
        log_.write(lines::nextDocumentFailed(n));
        guard_.report(n, kNextDocument, error);
    }
    if (n >= plan_.count) {
        document_.Disconnect();
        return;
    }
    document_.ConnectTo(view_.GetNthDocument(n + 1));
}

QString ExportRun::progressText(std::int64_t done) const {
    return messages::kExporting + withoutFolder(plan_.fileName) + QStringLiteral("...") + QString::number(done) +
           QLatin1Char('/') + QString::number(plan_.count);
}

ExportOutcome ExportRun::stop(const QString& message) {
    flushLog();
    services_.message(message + messages::lostLogLines(losses_.logLines, log_.firstLoss()));
    const QString saveFailure = saveAndQuit(SaveMode::KeepExisting);
    services_.wait.CloseWait();
    if (!saveFailure.isEmpty()) services_.message(saveFailure);
    else if (savedElsewhere()) services_.message(messages::savedBeside(plan_.fileName, savedAs_));
    return outcome(ExportOutcome::Result::Failed);
}

ExportOutcome ExportRun::finish() {
    flushLog();
    const QString saveFailure =
        saveAndQuit(request_.replaceExisting ? SaveMode::ReplaceExisting : SaveMode::KeepExisting);
    services_.wait.CloseWait();
    if (!saveFailure.isEmpty()) {
        services_.message(saveFailure);
        return outcome(ExportOutcome::Result::Failed);
    }
    const ExportOutcome ended =
        outcome(losses_.any() ? ExportOutcome::Result::Incomplete : ExportOutcome::Result::Completed);
    const QString ending = losses_.any() ? messages::incomplete(losses_, ended.logFile) : messages::kCompleted;
    services_.message(ending + QLatin1Char('\n') + savedReport(ended) +
                      messages::lostLogLines(losses_.logLines, log_.firstLoss()));
    return ended;
}

// Asked to stop before document `n`: the workbook keeps what was written
// and never replaces a file; only then is the user told where the run
// stopped and what became of the workbook.
ExportOutcome ExportRun::interrupt(std::int32_t n) {
    interruptedAt_ = n;
    log_.write(lines::exportInterrupted(n));
    flushLog();
    const QString saveFailure = saveAndQuit(SaveMode::KeepExisting);
    services_.wait.CloseWait();
    const ExportOutcome ended = outcome(ExportOutcome::Result::Interrupted);
    const QString workbookLine = saveFailure.isEmpty() ? savedReport(ended) : saveFailure;
    services_.message(messages::interrupted(n, plan_.count) + QLatin1Char('\n') + workbookLine +
                      messages::lostLogLines(losses_.logLines, log_.firstLoss()));
    return ended;
}

QString ExportRun::savedReport(const ExportOutcome& ended) const {
    const QString usedFolder = folders_.filesSaved() > 0 ? ended.attachmentFolder : QString();
    QString report = messages::savedFiles(ended.workbook, usedFolder);
    if (savedElsewhere()) report += QLatin1Char('\n') + messages::savedBeside(plan_.fileName, savedAs_);
    return report;
}

QString ExportRun::saveAndQuit(SaveMode mode) {
    QString failure;
    try {
        if (mode == SaveMode::ReplaceExisting) {
            spreadsheet_.saveReplacing(plan_.fileName);
            savedAs_ = plan_.fileName;
        } else {
            savedAs_ = spreadsheet_.saveKeeping(plan_.fileName);
        }
    } catch (const std::exception& error) {
        failure = messages::kSaveFailed + errorText(error);
    }
    spreadsheet_.quitQuietly();
    return failure;
}

void ExportRun::flushLog() {
    log_.flush();
    losses_.logLines = log_.lostLines();
}

bool ExportRun::savedElsewhere() const { return !savedAs_.isEmpty() && savedAs_ != plan_.fileName; }

ExportOutcome ExportRun::outcome(ExportOutcome::Result result) const {
    return {result,         savedAs_.isEmpty() ? plan_.fileName : savedAs_,
            plan_.paths.viewAttachmentFolder(), services_.log.fileFor(services_.log.now().date()),
            losses_,        !savedAs_.isEmpty(),
            interruptedAt_};
}

}  // namespace velloran::exporting
