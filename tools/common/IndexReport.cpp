#include "common/IndexReport.h"

namespace velloran::tools {

void printIndexReport(std::ostream& out, const std::string& tool, const notes::write::ViewIndexReport& report) {
    for (const notes::write::ColumnFailure& failure : report.columnFailures)
        out << tool << ": 视图“" << failure.view << "”，" << failure.column << "，文档 " << failure.unid
            << ": 值留空: " << failure.reason << "\n";
    const std::size_t unlisted = report.columnFailureCount - report.columnFailures.size();
    if (unlisted > 0) out << tool << ": 另有 " << unlisted << " 个列值留空\n";
    for (const notes::write::UnindexedView& view : report.unindexedViews)
        out << tool << ": 视图“" << view.view << "”保留但没有索引，不列出任何文档: " << view.reason << "\n";
    for (const notes::write::BudgetStop& stop : report.budgetStops)
        out << tool << ": 视图“" << stop.view << "”，" << stop.formula << "，文档 " << stop.unid
            << ": 公式用完了其计算预算，视图可能缺少此文档或其值\n";
    if (report.budgetStopCount > report.budgetStops.size())
        out << tool << ": 另有 " << report.budgetStopCount - report.budgetStops.size()
            << " 个文档的公式用完了其计算预算\n";
    for (const notes::write::UnindexedView& view : report.givenUpViews)
        out << tool << ": 视图“" << view.view << "”保留但没有索引，不列出任何文档: " << view.reason << "\n";
    if (report.selectionFailureCount > 0)
        out << tool << ": " << report.selectionFailureCount << " 个文档的视图选择公式出错，未列入该视图\n";
}

}  // namespace velloran::tools
