#pragma once
// Builds the materialised index of every view: the selection formula picks
// the documents (with @AllChildren or @AllDescendants also the responses of
// those it picks), the column formulas give each entry's values, sorted
// columns order the entries (the rest keep note order), hidden ones too.
#include "store/Sqlite.h"

#include <cstddef>
#include <string>
#include <vector>

namespace velloran::notes::write {

// A column formula that failed for one document.
struct ColumnFailure {
    std::string view;
    std::string column;  // "column 2 ('Year')"
    std::string unid;    // the document's universal id
    std::string reason;
};

// A view kept without an index: the engine cannot read one of its formulas.
struct UnindexedView {
    std::string view;
    std::string reason;
};

// A formula that ran out of its work budget (see formula::Budget) for one
// document: undecided, so the view lacks the document or the entry the value.
struct BudgetStop {
    std::string view;
    std::string formula;  // "its selection formula", "column 2 ('Year')"
    std::string unid;     // the document's universal id
};

// What went wrong for single documents while the views were built; the
// reasons are in English, for the data tools that print the report.
struct ViewIndexReport {
    // Only the first kMaxKept failures are kept; columnFailureCount counts all.
    static constexpr std::size_t kMaxKept = 100;
    std::vector<ColumnFailure> columnFailures;
    std::size_t columnFailureCount = 0;
    // Documents a selection formula failed for, so left out of that view.
    std::size_t selectionFailureCount = 0;
    // Views left without entries because a formula of theirs cannot be read.
    std::vector<UnindexedView> unindexedViews;
    // Documents a formula ran out of its budget on; the first kMaxKept kept.
    std::vector<BudgetStop> budgetStops;
    std::size_t budgetStopCount = 0;
    // A view whose formulas ran out of their budget kMaxBudgetStops times
    // is given up and left without entries: a formula that runs
    // away on every document would otherwise cost its whole budget for each.
    static constexpr std::size_t kMaxBudgetStops = 10;
    std::vector<UnindexedView> givenUpViews;

    // False when a formula could not be decided for some document, so that
    // a view lacks what it should hold.
    bool complete() const { return budgetStopCount == 0; }
};

// Replaces every view's entries and count. A document for which the
// selection formula fails is not in the view. A column formula that fails
// for a document (an older document lacking a newer item, say) gives that
// entry an empty text in the column, shown empty everywhere, and the build
// goes on. A view with a formula that cannot be read (a view kept from
// another system, say) is left with no entries and reported. A formula that
// runs out of its budget is reported with the document (see BudgetStop).
ViewIndexReport rebuildViewIndexes(store::Connection& connection);

}  // namespace velloran::notes::write
