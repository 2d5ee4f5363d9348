#pragma once
// What one export is asked to do: which view of which database, from which
// document number, into which file, through which session. The window
// builds it from what it is browsing, the batch tool from its options; the
// export knows nothing else of either.
#include "DominoWrappers.h"
#include "run/WorkbookFile.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace velloran::exporting {

// What the workbook's columns are. Items: the items of the start document,
// each cell the item's value (rich text as its formatted text). View: the
// view's own columns, each cell the column's value as the document list
// shows it. Either way the universal ID comes first.
enum class ColumnRule { Items, View };

struct ExportRequest {
    // The session and the open database; either may be missing when the
    // component could not be prepared, which the run reports.
    domino::TNotesSession* session = nullptr;
    domino::TNotesDatabase* database = nullptr;
    // Empty when no view was chosen.
    QString viewName;
    // The view's documents as counted when it was opened; the run goes up
    // to this number.
    std::int32_t documentCount = 0;
    // The first document's number as typed; it also names the workbook.
    QString startText = QStringLiteral("1");
    // The workbook's name as chosen, before the naming rule.
    QString chosenName;
    // The program's folder, ending in "/": the log's file name is derived
    // from a path inside it.
    QString exeFolder;
    // Write the workbook as `chosenName` itself, without the naming rule.
    bool exactName = false;
    // A run that goes to its end replaces a file of the workbook's name
    // (the old one stays until the new one is complete); a run that stops
    // or is interrupted never does, and saves beside it.
    bool replaceExisting = false;
    ColumnRule columns = ColumnRule::Items;
    // Typed cells: a value that is a number or a moment is written as a
    // number or a date rather than as its text.
    bool typedCells = false;
    // The format whose ending the naming rule uses; none: the one the
    // chosen name's ending says (formatOfName).
    std::optional<WorkbookFormat> format = std::nullopt;

    // The workbook's file: the chosen name made absolute, and named by the
    // naming rule unless exactName; only for a chosen name that is not blank.
    QString workbookFile() const;

    // The session or database, or a Failure saying that start-up could
    // not prepare them.
    domino::TNotesSession& requireSession() const;
    domino::TNotesDatabase& requireDatabase() const;
};

}  // namespace velloran::exporting
