#pragma once
// One export run once the spreadsheet application has started and the
// wait window shows: open the view, write the header row from the items of
// the start document or from the view's columns, walk the documents to the
// count taken at the start, and end with the workbook saved and the
// application quit, whether the run completes, loses some of what it should
// write, or stops.
#include "log/RunLog.h"
#include "paths/DocumentFolder.h"
#include "paths/ExportFolders.h"
#include "paths/ExportPaths.h"
#include "run/ExportRequest.h"
#include "run/ExportServices.h"
#include "run/MessagePump.h"
#include "run/RowColumnValues.h"
#include "steps/AttachmentSteps.h"
#include "steps/Guarded.h"
#include "workbook/Spreadsheet.h"
#include "workbook/TypedCell.h"

#include <cstdint>

namespace velloran::exporting {

struct RunPlan {
    QString fileName;
    ExportPaths paths;
    std::int32_t start = 1;   // N
    std::int32_t count = 0;   // T
};

class ExportRun {
public:
    ExportRun(const ExportServices& services, const ExportRequest& request, Spreadsheet spreadsheet,
              const RunLog& log, RunPlan plan);

    ExportOutcome execute();

private:
    void openView();
    void readHeader();
    void writeHeader();
    void exportDocument(std::int64_t k);
    // One row under the items rule.
    void fillItemRow(int row, int n, DocumentFolder& folder);
    // A name that repeats among the items reads, at its k-th place, the
    // document's k-th item of that name (its `occurrence`).
    void fillCell(int row, int column, const QString& itemName, int occurrence, int n, DocumentFolder& folder);
    void itemStep(const QString& itemName, int occurrence, int n, DocumentFolder& folder, QString& cellText);
    // One row under the view rule.
    void fillColumnRow(int row, int n, DocumentFolder& folder);
    void fillColumnCell(int row, int column, const RowColumnValues& values, qsizetype index, int n);
    // A cell's value as read: its text and, under the typed rule, the value
    // the cell takes when its text is that text alone.
    struct CellValue {
        QString text;
        TypedCell typed;
    };
    CellValue cellValueOf(const notes::Value* value) const;
    // The value step (`read`) and the write step of a cell, each guarded
    // under `name`, appending the value to `cellText`; the cell is written
    // before the value's log line, so a log that fails never leaves the cell
    // without its text. A text longer than the cell holds is written cut and
    // logged as a failure. Returns whether both steps succeeded in full.
    template <class Read>
    bool valueAndWriteSteps(int row, int column, const QString& name, int n, QString& cellText, Read read);
    void writeCell(int row, int column, const QString& cellText, const CellValue& value);
    // Saves a rich-text item's first object, and logs only for rich text.
    void richTextStep(const QString& itemName, int occurrence, int n, DocumentFolder& folder);
    bool isRichText(const QString& itemName, int occurrence);
    void moveToNext(int n);
    QString progressText(std::int64_t done) const;

    // Whether the front end asked the run to stop.
    bool stopRequested() const;
    // The gathered log lines, then the message, then save (never over a
    // file), quit and close the wait window.
    ExportOutcome stop(const QString& message);
    // Save, quit, close the wait window, then the message that tells how
    // the run ended.
    ExportOutcome finish();
    // The same for a run asked to stop before document `n`.
    ExportOutcome interrupt(std::int32_t n);
    // The saved workbook and, when the run saved anything in it, the
    // attachment folder; also that a file took the workbook's name.
    QString savedReport(const ExportOutcome& ended) const;
    enum class SaveMode { KeepExisting, ReplaceExisting };
    // Saves and quits; the save's failure message, or empty. KeepExisting
    // never writes over a file and saves beside one that has the name.
    QString saveAndQuit(SaveMode mode);
    // Writes the gathered log lines and counts those lost so far.
    void flushLog();
    // Whether the workbook went beside a file that took its name meanwhile.
    bool savedElsewhere() const;
    ExportOutcome outcome(ExportOutcome::Result result) const;

    const ExportServices& services_;
    const ExportRequest& request_;
    Spreadsheet spreadsheet_;
    const RunLog& log_;
    RunPlan plan_;
    ExportFolders folders_;
    ExportLosses losses_;
    StepGuard guard_;
    AttachmentSteps steps_;
    MessagePump pump_;
    domino::TNotesView view_;
    domino::TNotesDocument document_;
    // The start document's items, and the header's names: those items or
    // the view's column titles.
    QStringList itemNames_;
    QList<int> itemOccurrences_;  // of each of itemNames_ (see occurrencesOf)
    QStringList headerNames_;
    QString savedAs_;  // where the workbook was saved; empty until it is
    std::int32_t interruptedAt_ = 0;
};

}  // namespace velloran::exporting
