#include "write/ViewIndexer.h"

#include "formula/Evaluator.h"
#include "formula/NoteContext.h"
#include "store/NoteStore.h"
#include "store/ValueCodec.h"
#include "store/ViewStore.h"
#include "text/Utf8.h"
#include "text/ValueText.h"
#include "write/ResponseExpansion.h"

#include <algorithm>
#include <memory>

namespace velloran::notes::write {

namespace {

struct Entry {
    std::int64_t noteId;
    ValueList values;
};

// An entry as its column formulas made it, with their failures, which are
// reported once it is in the view: a response kept as a candidate (see
// ResponseExpansion) may never be.
struct Evaluated {
    Entry entry;
    std::vector<ColumnFailure> failures;
};

// One column's value: a list result becomes one text, its values joined
// (date-times in UTC, so the stored index does not depend on the builder's
// time zone).
Value columnValue(const ValueList& result) {
    if (result.size() == 1) return result.front();
    std::string joined;
    for (std::size_t i = 0; i < result.size(); ++i)
        joined += (i ? ", " : "") + text::valueText(result[i], platform::TimeZone::Utc);
    return joined;
}

int compareValues(const Value& a, const Value& b) {
    if (a.index() != b.index()) return a.index() < b.index() ? -1 : 1;
    if (auto* s = std::get_if<std::string>(&a)) {
        int folded = text::lower(*s).compare(text::lower(std::get<std::string>(b)));
        return folded != 0 ? folded : s->compare(std::get<std::string>(b));
    }
    if (auto* x = std::get_if<double>(&a)) return *x < std::get<double>(b) ? -1 : *x > std::get<double>(b) ? 1 : 0;
    std::int64_t p = std::get<DateTime>(a).msecsSinceEpoch, q = std::get<DateTime>(b).msecsSinceEpoch;
    return p < q ? -1 : p > q ? 1 : 0;
}

// Leaves the view without entries.
void clearIndex(store::Connection& connection, std::int64_t viewId) {
    connection.cached("DELETE FROM view_entries WHERE view_id = ?").bind(1, viewId).run();
    connection.cached("UPDATE views SET entry_count = 0 WHERE view_id = ?").bind(1, viewId).run();
}

class ViewBuilder {
public:
    ViewBuilder(store::Connection& connection, store::ViewDesign design, ViewIndexReport& report)
        : connection_(connection), design_(std::move(design)), report_(report) {
        selection_ = compile(design_.selection.empty() ? "SELECT @All" : design_.selection, "its selection formula");
        for (std::size_t i = 0; i < design_.columns.size(); ++i)
            columns_.push_back(compile(design_.columns[i].formula, columnName(i)));
        reach_ = responseReach(design_.selection);
        expansion_ = ResponseExpansion(reach_);
        hasResponseColumns_ = std::any_of(design_.columns.begin(), design_.columns.end(),
                                          [](const store::ViewColumn& c) { return c.responsesOnly; });
        clearIndex(connection_, design_.viewId);
    }

    // A view given up (see ViewIndexReport::kMaxBudgetStops) takes no more
    // documents.
    void consider(formula::NoteContext& note) {
        if (givenUp_) return;
        take(note);
        if (stops_ >= ViewIndexReport::kMaxBudgetStops) giveUp();
    }

    void finish() {
        if (givenUp_) return;
        if (reach_ != ResponseReach::None) addReachedResponses();
        std::stable_sort(entries_.begin(), entries_.end(), [&](const Entry& a, const Entry& b) { return before(a, b); });
        for (const Entry& entry : entries_) insert(entry);
        connection_.cached("UPDATE views SET entry_count = ? WHERE view_id = ?").bind(1, count_).bind(2, design_.viewId).run();
    }

private:
    // Only a view that adds responses or shows columns on responses only
    // reads the documents' links, so other views cost what they did.
    void take(formula::NoteContext& note) {
        if (selected(note)) {
            if (reach_ != ResponseReach::None) expansion_.selected(note.header().unid);
            Evaluated selected = entryFor(note, hasResponseColumns_ && parentOf(note));
            report(selected.failures);
            if (buffered()) entries_.push_back(std::move(selected.entry));
            else insert(selected.entry);
        } else if (reach_ != ResponseReach::None) {
            std::optional<std::string> parent = parentOf(note);
            if (!parent) return;
            expansion_.candidate(candidates_.size(), note.header().unid, *parent);
            candidates_.push_back(entryFor(note, true));
        }
    }

    std::string columnName(std::size_t index) const {
        return "column " + std::to_string(index + 1) + " ('" + design_.columns[index].title + "')";
    }

    std::unique_ptr<formula::Formula> compile(const std::string& source, const std::string& what) const {
        try {
            return std::make_unique<formula::Formula>(source);
        } catch (const std::exception& e) {
            throw engineFailure(msg::kViewPart, {design_.name, what, e});
        }
    }

    Evaluated entryFor(formula::NoteContext& note, bool isResponse) {
        Evaluated made{{note.header().noteId, {}}, {}};
        for (std::size_t i = 0; i < columns_.size(); ++i)
            made.entry.values.push_back(design_.columns[i].responsesOnly && !isResponse
                                            ? Value(std::string())
                                            : columnValueFor(note, i, made.failures));
        return made;
    }

    // A column formula that fails for one document gives that entry an
    // empty text, which every reader of the index already shows as empty.
    Value columnValueFor(formula::NoteContext& note, std::size_t index, std::vector<ColumnFailure>& failures) {
        try {
            return columnValue(columns_[index]->evaluate(note));
        } catch (const Failure& e) {
            if (!e.fromEngine()) throw;
            if (e.is(Failure::Kind::WorkLimit))
                stopped(columnName(index), note);
            else
                failures.push_back({design_.name, columnName(index), note.header().unid, e.original()});
            return std::string();
        }
    }

    void report(std::vector<ColumnFailure>& failures) {
        for (ColumnFailure& failure : failures) {
            ++report_.columnFailureCount;
            if (report_.columnFailures.size() < ViewIndexReport::kMaxKept)
                report_.columnFailures.push_back(std::move(failure));
        }
    }

    // The responses the selection reaches join the view, which then holds
    // its entries in note order until the sorted columns order them.
    void addReachedResponses() {
        for (std::size_t index : expansion_.reached()) {
            report(candidates_[index].failures);
            entries_.push_back(std::move(candidates_[index].entry));
        }
        candidates_.clear();
        std::sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) { return a.noteId < b.noteId; });
    }

    // A selection formula that fails for a document (say, comparing an item
    // the document lacks with a number) leaves that document out.
    bool selected(formula::NoteContext& note) {
        try {
            return selection_->selects(note);
        } catch (const Failure& e) {
            if (!e.fromEngine()) throw;
            if (e.is(Failure::Kind::WorkLimit))
                stopped("its selection formula", note);
            else
                ++report_.selectionFailureCount;
            return false;
        }
    }

    void stopped(const std::string& formula, formula::NoteContext& note) {
        ++stops_;
        if (report_.budgetStopCount++ < ViewIndexReport::kMaxKept)
            report_.budgetStops.push_back({design_.name, formula, note.header().unid});
    }

    // What the view holds so far is dropped: it would lack documents no one
    // could name.
    void giveUp() {
        givenUp_ = true;
        entries_.clear();
        candidates_.clear();
        clearIndex(connection_, design_.viewId);
        report_.givenUpViews.push_back({design_.name, "its formulas ran out of their budget " + std::to_string(stops_) +
                                                          " times; the other documents were not evaluated"});
    }

    bool sorted() const {
        return std::any_of(design_.columns.begin(), design_.columns.end(),
                           [](const store::ViewColumn& c) { return c.sort != store::SortOrder::None; });
    }

    // Entries wait for the end of the pass when they must be ordered or
    // responses may join them; the others go straight into the index.
    bool buffered() const { return reach_ != ResponseReach::None || sorted(); }

    bool before(const Entry& a, const Entry& b) const {
        for (std::size_t i = 0; i < design_.columns.size(); ++i) {
            store::SortOrder order = design_.columns[i].sort;
            if (order == store::SortOrder::None) continue;
            int c = compareValues(a.values[i], b.values[i]);
            if (c != 0) return order == store::SortOrder::Ascending ? c < 0 : c > 0;
        }
        return false;
    }

    void insert(const Entry& entry) {
        connection_.cached("INSERT INTO view_entries (view_id, position, note_id, column_values) VALUES (?, ?, ?, ?)")
            .bind(1, design_.viewId).bind(2, ++count_).bind(3, entry.noteId)
            .bindBlob(4, store::encodeValues(entry.values)).run();
    }

    store::Connection& connection_;
    store::ViewDesign design_;
    ViewIndexReport& report_;
    std::unique_ptr<formula::Formula> selection_;
    std::vector<std::unique_ptr<formula::Formula>> columns_;
    std::vector<Entry> entries_;
    ResponseReach reach_ = ResponseReach::None;
    ResponseExpansion expansion_{ResponseReach::None};
    bool hasResponseColumns_ = false;
    // Responses the selection left out, which it may still reach.
    std::vector<Evaluated> candidates_;
    std::int64_t count_ = 0;
    std::size_t stops_ = 0;  // times a formula of this view ran out of its budget
    bool givenUp_ = false;
};

}  // namespace

ViewIndexReport rebuildViewIndexes(store::Connection& connection) {
    ViewIndexReport report;
    std::vector<std::unique_ptr<ViewBuilder>> builders;
    for (store::ViewDesign& design : store::ViewStore(connection).views()) {
        std::int64_t viewId = design.viewId;
        std::string name = design.name;
        try {
            builders.push_back(std::make_unique<ViewBuilder>(connection, std::move(design), report));
        } catch (const Failure& e) {
            if (!e.fromEngine()) throw;
            clearIndex(connection, viewId);
            report.unindexedViews.push_back({name, e.original()});
        }
    }
    if (builders.empty()) return report;
    store::NoteStore notes(connection);
    for (std::int64_t id : notes.noteIds()) {
        formula::NoteContext note(notes, *notes.header(id), platform::TimeZone::Utc);
        for (auto& builder : builders) builder->consider(note);
    }
    for (auto& builder : builders) builder->finish();
    return report;
}

}  // namespace velloran::notes::write
