#pragma once
#include "api/NotesApi.h"
#include "component/OpenDatabase.h"

namespace velloran::notes::component {

// A view with its materialised index: positions are looked up, never walked.
//
// Its first read of entries (counting them or reaching a document) begins a
// walk, which holds one read snapshot of the file (see store::ReadSnapshot)
// until GetNextDocument runs past the last entry or the view is let go: the
// count and every document of the walk, their items included, come from one
// state of the database however other programs write it meanwhile.
class ViewObject : public View {
public:
    ViewObject(OpenDatabasePtr database, store::ViewDesign design);

    std::string Name() const override { return design_.name; }
    StringList Aliases() const override { return design_.aliases; }
    int ColumnCount() override { return static_cast<int>(shownColumns_.size()); }
    StringList ColumnNames() override;
    int AllEntriesCount() override;
    DocumentPtr GetNthDocument(int position) override;
    DocumentPtr GetNextDocument(const DocumentPtr& document) override;
    std::string UnreadableFormula() const override;

private:
    // GetNthDocument starts a walk and reads afresh; GetNextDocument goes on
    // in the stretch of entries read last, one read per kStretch documents.
    enum class Reading { Fresh, Continuing };
    static constexpr std::int64_t kStretch = 256;

    // Begins the walk unless one is open; the entry count is read again
    // within it.
    void beginWalk();
    void endWalk();
    DocumentPtr documentAt(std::int64_t position, Reading reading);
    const store::ListedEntry& listedAt(std::int64_t position, Reading reading);
    // An entry's values of the shown columns, without password hashes; in
    // the directory also without the values of columns whose formula reads
    // the password.
    ValueList visibleColumnValues(const ValueList& values) const;
    std::int64_t positionOf(const DocumentPtr& document);

    OpenDatabasePtr database_;
    store::ViewDesign design_;
    // Per column: whether its values are withheld (a directory column whose
    // formula reads the password), decided once when the view is opened.
    std::vector<bool> withheldColumns_;
    // Indexes of the columns that are not hidden, in design order.
    std::vector<std::size_t> shownColumns_;
    // Held while a walk is open.
    std::shared_ptr<store::ReadSnapshot> snapshot_;
    // The stretch read last, in position order without gaps.
    std::vector<store::ListedEntry> stretch_;
};

}  // namespace velloran::notes::component
