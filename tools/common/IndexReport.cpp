#include "common/IndexReport.h"

namespace velloran::tools {

void printIndexReport(std::ostream& out, const std::string& tool, const notes::write::ViewIndexReport& report) {
    for (const notes::write::ColumnFailure& failure : report.columnFailures)
        out << tool << ": view '" << failure.view << "', " << failure.column << ", document " << failure.unid
            << ": the value is left empty: " << failure.reason << "\n";
    const std::size_t unlisted = report.columnFailureCount - report.columnFailures.size();
    if (unlisted > 0) out << tool << ": " << unlisted << " more column values are left empty\n";
    for (const notes::write::UnindexedView& view : report.unindexedViews)
        out << tool << ": view '" << view.view << "' is kept without an index and lists no documents: " << view.reason
            << "\n";
    for (const notes::write::BudgetStop& stop : report.budgetStops)
        out << tool << ": view '" << stop.view << "', " << stop.formula << ", document " << stop.unid
            << ": the formula ran out of its budget, so the view may lack this document or its value\n";
    if (report.budgetStopCount > report.budgetStops.size())
        out << tool << ": a formula ran out of its budget for " << report.budgetStopCount - report.budgetStops.size()
            << " more documents\n";
    for (const notes::write::UnindexedView& view : report.givenUpViews)
        out << tool << ": view '" << view.view << "' is kept without an index and lists no documents: " << view.reason
            << "\n";
    if (report.selectionFailureCount > 0)
        out << tool << ": " << report.selectionFailureCount
            << " documents are left out of a view whose selection formula failed for them\n";
}

}  // namespace velloran::tools
