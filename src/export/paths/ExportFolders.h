#pragma once
// The folders an export writes into, held open while it runs: the
// workbook's folder, which the user chose (links on its way are the user's
// own), the view's attachment folder inside it, and each document's folder
// inside that. Every folder below the workbook's is created and opened
// inside the one before without following a link, so a link or file planted
// on the way is refused instead of leading the export's files elsewhere.
// Each folder opened is cleared of the temporary files a killed run left.
#include "files/OpenFolder.h"
#include "paths/ExportPaths.h"

#include <optional>

namespace velloran::exporting {

class ExportFolders {
public:
    explicit ExportFolders(const ExportPaths& paths) : paths_(paths) {}

    // Opens the workbook's folder and clears it of leftovers. A folder that
    // cannot be opened is left to the steps that write into it to report.
    void prepare();
    // The folder of the document with this universal ID, created when
    // missing. Throws a platform::Failure of Kind::Folder naming the folder on the way
    // that is refused.
    platform::OpenFolder openDocumentFolder(const QString& universalId);
    // Counts a file saved in a document's folder: the attachment folder is
    // named to the user only when the run saved something in it.
    void fileSaved() { ++filesSaved_; }
    int filesSaved() const { return filesSaved_; }

private:
    const platform::OpenFolder& exportFolder();
    const platform::OpenFolder& viewFolder();

    const ExportPaths& paths_;
    std::optional<platform::OpenFolder> exportFolder_;
    std::optional<platform::OpenFolder> viewFolder_;
    int filesSaved_ = 0;
};

}  // namespace velloran::exporting
