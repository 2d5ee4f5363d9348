#pragma once
// Writes a database file: everything added through one writer lands in one
// transaction, together with the rebuilt view indexes, or not at all.
#include "files/StagedFile.h"
#include "store/Sqlite.h"
#include "write/Inputs.h"
#include "write/ViewIndexer.h"

#include <memory>
#include <optional>
#include <string>
#include <sys/types.h>

namespace velloran::notes::write {

// The permissions of a new database at `path`: its owner's alone (0600), or
// also its group's read (0640) when its folder has the set-group-ID bit, the
// mark of a folder a group shares (new files take the folder's group), so
// that the group's members can browse and export what the data tools made.
mode_t newDatabaseMode(const std::string& path);

class DatabaseWriter {
public:
    // What the writer does with a database file that exists already: add
    // to it, or build a new one that replaces it.
    enum class Existing { Add, Replace };

    // Opens the database and starts the transaction. When the file does not
    // exist, or is to be replaced, a new database (with "-Default-" reader
    // access) is built in a hidden file beside it (a files/StagedFile, locked
    // so that no sweep of leftovers removes it) with the permissions
    // `newFileMode` (those of the file it replaces, and as root its owner;
    // without one, those of newDatabaseMode), and only commit() gives it
    // the name `path`: a failed or interrupted
    // build never leaves a half-made database under that name, and a
    // replaced one stays as it was until then. A new database never takes
    // the place of a file that appeared under its name meanwhile: commit()
    // then fails and that file is kept.
    explicit DatabaseWriter(const std::string& path, std::optional<mode_t> newFileMode = std::nullopt,
                            Existing existing = Existing::Add);
    ~DatabaseWriter();
    DatabaseWriter(const DatabaseWriter&) = delete;
    DatabaseWriter& operator=(const DatabaseWriter&) = delete;

    void setTitle(const std::string& title);
    // Returns the new document's note id. Each attachment gets a "$FILE"
    // item naming it after the document's items, unless an item of the
    // document is already that "$FILE" item (type kAttachment), which then
    // keeps its place among them.
    std::int64_t addNote(const NoteInput& note);
    // Gives the document's item of that name (any letter case) the item's
    // type, flags and values, adding it after the others when the document
    // has none, and the document the modified time `modified`. Throws
    // a Failure when there is no such document.
    void setItem(std::int64_t noteId, const ItemInput& item, std::int64_t modified);
    // Adds the view, or replaces the design of the view of the same name.
    // Throws when a formula cannot be read.
    void addView(const ViewInput& view);
    // The same, but a formula the engine cannot read does not refuse the
    // view: its design is stored, formula text and all, without an index,
    // so that it lists no documents (see rebuildViewIndexes). Returns why it
    // cannot be indexed (in the user's words, for the data tools' reports), or
    // nothing when it can.
    std::optional<std::string> keepView(const ViewInput& view);
    // Replaces the whole access control list.
    void setAcl(const std::vector<store::AclEntry>& entries);
    // Rebuilds every view index and commits; a new database then takes its
    // name. Nothing may be added afterwards. The report tells of column
    // formulas that failed for single documents and of documents left out
    // because a selection formula failed for them.
    ViewIndexReport commit();

private:
    // The open database; throws once commit() has closed it.
    store::Connection& open();
    std::string newUnid(std::int64_t noteId) const;
    void addItem(std::int64_t noteId, int seq, const ItemInput& item);
    void addRichText(std::int64_t noteId, int seq, const RichTextInput& richText);
    void storeView(const ViewInput& view);

    // Closes the database, then removes a build file not yet in place.
    void close();

    std::string path_;
    std::optional<platform::StagedFile> building_;  // the file a new database is built in; none when adding
    std::unique_ptr<store::Connection> connection_;
    std::optional<store::Transaction> transaction_;
    std::uint64_t unidSeed_ = 0;
};

}  // namespace velloran::notes::write
