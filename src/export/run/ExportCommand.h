#pragma once
// The main window's export command: the save dialog, the start-number
// prompt, then the export of the view that the document list shows.
#include "BrowseState.h"
#include "run/ExportRequest.h"
#include "run/ExportServices.h"

#include <functional>

namespace velloran::exporting {

// The save dialog's formats, "Excel文件" (the 97-2003 workbook) first (the one
// chosen when the dialog opens).
extern const QString kWorkbookFilter;

// Where the save dialog opens: the folder of the window's last export.
struct ExportFolderMemory {
    // Empty when there was none; set by each export once it is under way.
    QString lastFolder;
    // Keeps the new folder beyond the session; none: for the session alone.
    std::function<void(const QString&)> keep;
};

// The export of what the window browses, into `chosenName`, from the
// state's ExportStart, with the items rule.
ExportRequest requestFrom(const domino::BrowseState& state, const QString& chosenName);

// Asks for the file (a name typed without an extension gets the chosen
// format's) and the start number (ExportStart, "1" offered), then exports;
// cancelling either prompt ends the command with nothing written.
void exportExecute(const ExportServices& services, domino::BrowseState& state, ExportFolderMemory& folders);

}  // namespace velloran::exporting
