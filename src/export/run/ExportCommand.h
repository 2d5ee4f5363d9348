#pragma once
// The main window's export command: the save dialog, the start-number
// prompt, then the export of the view that the document list shows.
#include "BrowseState.h"
#include "run/ExportRequest.h"
#include "run/ExportServices.h"

namespace velloran::exporting {

// The export of what the window browses, into `chosenName`, from the
// state's ExportStart.
ExportRequest requestFrom(const domino::BrowseState& state, const QString& chosenName);

// Asks for the file and the start number (ExportStart, "1" offered), then
// exports; cancelling either prompt ends the command with nothing written.
void exportExecute(const ExportServices& services, domino::BrowseState& state);

}  // namespace velloran::exporting
