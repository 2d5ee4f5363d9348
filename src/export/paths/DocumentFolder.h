#pragma once
// One document's folder as the export writes into it: created and opened
// inside the view's attachment folder on first use and held open, every
// file in it named by DocumentFiles. A file is handed to its writer as a
// path through the open folder's descriptor, so nothing that happens to the
// names above the folder can send it elsewhere; messages and the log name
// the folder's real path.
#include "files/OpenFolder.h"
#include "paths/DocumentFiles.h"
#include "paths/ExportFolders.h"

#include <functional>
#include <optional>

namespace velloran::exporting {

class DocumentFolder {
public:
    DocumentFolder(ExportFolders& folders, const ExportPaths& paths, QString universalId)
        : folders_(folders), universalId_(std::move(universalId)), files_(paths.documentFolder(universalId_)) {}

    // The folder's path, ending in "/".
    const QString& path() const { return files_.folder(); }
    // Creates and opens the folder unless it is open. Throws
    // a platform::Failure of Kind::Folder naming the folder on the way that is refused.
    void open();
    // Opens the folder, gives `name` a file name of its own there and has
    // `write` write the file at the path it is handed. Returns the file's
    // real path; a failure's message names it too.
    QString save(const QString& name, const std::function<void(const QString& target)>& write);

private:
    ExportFolders& folders_;
    QString universalId_;
    DocumentFiles files_;
    std::optional<platform::OpenFolder> open_;
};

}  // namespace velloran::exporting
