#include "component/ViewObject.h"

#include "access/Directory.h"
#include "component/DocumentObject.h"
#include "text/Utf8.h"
#include "write/ViewFormulas.h"

#include <limits>

namespace velloran::notes::component {

namespace {

std::vector<bool> columnsReadingPassword(const store::ViewDesign& design, bool isDirectory) {
    static const std::string passwordItem = text::lower(access::kPasswordItem);
    std::vector<bool> withheld;
    for (const store::ViewColumn& column : design.columns)
        withheld.push_back(isDirectory && text::lower(column.formula).find(passwordItem) != std::string::npos);
    return withheld;
}

std::vector<std::size_t> notHidden(const std::vector<store::ViewColumn>& columns) {
    std::vector<std::size_t> shown;
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (!columns[i].hidden) shown.push_back(i);
    return shown;
}

}  // namespace

ViewObject::ViewObject(OpenDatabasePtr database, store::ViewDesign design)
    : database_(std::move(database)),
      design_(std::move(design)),
      withheldColumns_(columnsReadingPassword(design_, database_->isDirectory)),
      shownColumns_(notHidden(design_.columns)) {}

ValueList ViewObject::visibleColumnValues(const ValueList& values) const {
    ValueList shown;
    for (std::size_t i : shownColumns_) {
        if (i >= values.size()) break;
        const bool withheld = withheldColumns_[i] || isPasswordHash(values[i]);
        shown.push_back(withheld ? Value(std::string()) : values[i]);
    }
    return shown;
}

std::string ViewObject::UnreadableFormula() const {
    try {
        write::checkViewFormulas(design_.name, design_.selection, design_.columns);
    } catch (const Failure& error) {
        if (!error.fromEngine()) throw;
        return error.what();
    }
    return {};
}

StringList ViewObject::ColumnNames() {
    StringList names;
    for (std::size_t i : shownColumns_) names.push_back(design_.columns[i].title);
    return names;
}

void ViewObject::beginWalk() {
    if (snapshot_) return;
    std::shared_ptr<store::ReadSnapshot> snapshot = database_->connection->holdSnapshot();
    std::optional<std::int64_t> count = database_->views.entryCount(design_.viewId);
    if (!count) throw engineFailure(msg::kViewGone, {design_.name, database_->connection->path()});
    design_.entryCount = *count;
    stretch_.clear();
    snapshot_ = std::move(snapshot);
}

void ViewObject::endWalk() {
    snapshot_.reset();
    stretch_.clear();
}

int ViewObject::AllEntriesCount() {
    beginWalk();
    if (design_.entryCount > std::numeric_limits<int>::max())
        throw engineFailure(msg::kViewTooLarge, {design_.name});
    return static_cast<int>(design_.entryCount);
}

const store::ListedEntry& ViewObject::listedAt(std::int64_t position, Reading reading) {
    const bool held = reading == Reading::Continuing && !stretch_.empty() && position >= stretch_.front().position &&
                      position <= stretch_.back().position;
    if (!held) stretch_ = database_->views.entriesFrom(design_.viewId, position, kStretch);
    if (stretch_.empty() || stretch_.front().position > position)
        throw engineFailure(msg::kDamagedViewIndex, {design_.name, database_->connection->path()});
    return stretch_[static_cast<std::size_t>(position - stretch_.front().position)];
}

DocumentPtr ViewObject::documentAt(std::int64_t position, Reading reading) {
    beginWalk();
    database_->connection->checkUnchanged();
    if (position < 1 || position > design_.entryCount) {
        if (reading == Reading::Continuing) endWalk();
        return nullptr;
    }
    const store::ListedEntry& entry = listedAt(position, reading);
    if (!entry.header)
        throw engineFailure(msg::kMissingViewDocument, {design_.name, database_->connection->path()});
    ViewPlace place{design_.viewId, position, visibleColumnValues(database_->views.columnValues(entry)), entry.hasObjects};
    return std::make_shared<DocumentObject>(database_, *entry.header, std::move(place));
}

DocumentPtr ViewObject::GetNthDocument(int position) { return documentAt(position, Reading::Fresh); }

std::int64_t ViewObject::positionOf(const DocumentPtr& document) {
    auto* ours = dynamic_cast<DocumentObject*>(document.get());
    if (!ours || ours->database()->connection->path() != database_->connection->path())
        throw engineFailure(msg::kOtherDatabaseDocument, {design_.name});
    if (ours->place() && ours->place()->viewId == design_.viewId) return ours->place()->position;
    std::optional<std::int64_t> position = database_->views.positionOf(design_.viewId, ours->context().header().noteId);
    if (!position) throw engineFailure(msg::kNotInView, {ours->UniversalID(), design_.name});
    return *position;
}

DocumentPtr ViewObject::GetNextDocument(const DocumentPtr& document) {
    if (!document) throw engineFailure(msg::kNoDocumentGiven);
    beginWalk();
    return documentAt(positionOf(document) + 1, Reading::Continuing);
}

}  // namespace velloran::notes::component
