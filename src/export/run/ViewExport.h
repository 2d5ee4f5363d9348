#pragma once
// The export: the documents of one view, from a start number to the view's
// count, into a new workbook, with attachments and rich-text objects saved
// in a folder tree beside it and every step logged. Written once; the main
// window and the batch tool differ only in the services they plug in and
// in how they build the request.
#include "run/ExportRequest.h"
#include "run/ExportServices.h"

namespace velloran::exporting {

class ViewExport {
public:
    explicit ViewExport(ExportServices services) : services_(std::move(services)) {}

    // Reports every outcome to the user; throws only before anything is
    // created: a Failure of Kind::Number for a start text that is not a whole number,
    // a Failure of Kind::Log when the log cannot be written.
    ExportOutcome ExportToWorkbook(const ExportRequest& request);

private:
    ExportOutcome stopWith(const QString& message) const;

    ExportServices services_;
};

}  // namespace velloran::exporting
