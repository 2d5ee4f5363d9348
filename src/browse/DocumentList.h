#pragma once
// The document list: one page of a view's documents, 100 rows at most, each
// row the document's universal ID followed by its column values, and the
// four paging buttons that move through the view.
#include "BrowseContext.h"
#include "Paging.h"

namespace velloran::browse {

class DocumentList {
public:
    explicit DocumentList(BrowseContext context) : c_(std::move(context)) {}

    // Lists the view's documents from ReadPosition + 1 on, moving
    // ReadPosition to the last one listed. Reports its own errors.
    void LoadViewPage(domino::TNotesDatabase& database, const QString& viewName);

    // "首页", "上一页", "下一页", "尾页": reload the current view from a new
    // position, or do nothing when no document list is shown.
    void pageButtonClick(PageButton button);

    static QString summaryText(const QString& viewName, int count);

private:
    void readPage(domino::TNotesView& view, domino::TNotesDocument& document, int columns);

    BrowseContext c_;
};

}  // namespace velloran::browse
