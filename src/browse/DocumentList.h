#pragma once
// The document list: one page of a view's documents, 100 rows at most, each
// row the document's universal ID followed by its column values, and the
// four paging buttons that move through the view.
#include "BrowseContext.h"
#include "Paging.h"

#include <optional>

namespace velloran::browse {

// What the status bar says of the list on screen.
struct ShownPage {
    QString viewName;
    // The view's documents; nothing when the view could not be read.
    std::optional<int> documentCount;
    // The 1-based numbers of the first and last row shown; none when
    // `last` is below `first`.
    int first = 1;
    int last = 0;
};

class DocumentList {
public:
    explicit DocumentList(BrowseContext context) : c_(std::move(context)) {}

    // Lists the view's documents from ReadPosition + 1 on, moving
    // ReadPosition to the last one listed, and tells the status bar what is
    // shown. A read failure is reported to the user, with its reason on the
    // browse diagnostics channel; the rows read before it stay listed.
    void LoadViewPage(domino::TNotesDatabase& database, const QString& viewName);

    // Empties the list and the status summary and forgets the view they
    // showed, so that paging, export and details no longer act on it.
    void clearShownView();

    // Whether the paging button would show another page of the view.
    bool canPage(PageButton button) const;

    // "首页", "上一页", "下一页", "尾页": reload the current view from a new
    // position, or do nothing when no document list is shown.
    void pageButtonClick(PageButton button);

    // "视图：Orders(Orders) 共有文档:250  显示:201-250", for a view whose
    // count was read.
    static QString summaryText(const ShownPage& page);

private:
    void forgetView();
    std::optional<int> positionFor(PageButton button) const;
    void resetToReport();
    // Opens the view, lays out its columns and lists the page; `shown`
    // learns the view's name and count as soon as they are read.
    void listPage(domino::TNotesDatabase& database, ShownPage& shown);
    void readPage(domino::TNotesView& view, const QString& viewName, int columns, int count);

    BrowseContext c_;
};

}  // namespace velloran::browse
