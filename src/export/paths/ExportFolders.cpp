#include "paths/ExportFolders.h"

#include "files/TemporaryFiles.h"
#include "paths/SafeNames.h"
#include "run/Diagnostics.h"

namespace velloran::exporting {

namespace {

std::string nativeName(const QString& name) { return name.toUtf8().toStdString(); }

// Leftovers that stay are no failure of the export: the reason is kept for
// whoever looks into the folder.
void removeLeftovers(const platform::OpenFolder& folder) {
    for (const std::string& problem : platform::removeLeftoverTemporaries(folder.descriptor()))
        qCWarning(exportDiagnostics) << "in" << folder.path().c_str() << ":" << problem.c_str();
}

}  // namespace

void ExportFolders::prepare() {
    try {
        removeLeftovers(exportFolder());
    } catch (const platform::Failure& error) {
        if (!error.is(platform::Failure::Kind::Folder)) throw;
        qCWarning(exportDiagnostics) << "the export folder cannot be cleared of leftovers:" << error.what();
    }
}

platform::OpenFolder ExportFolders::openDocumentFolder(const QString& universalId) {
    platform::OpenFolder folder = viewFolder().child(nativeName(safeFileName(universalId)));
    removeLeftovers(folder);
    return folder;
}

const platform::OpenFolder& ExportFolders::exportFolder() {
    if (!exportFolder_) exportFolder_ = platform::OpenFolder::open(nativeName(paths_.exportFolder()));
    return *exportFolder_;
}

const platform::OpenFolder& ExportFolders::viewFolder() {
    if (viewFolder_) return *viewFolder_;
    std::vector<std::string> parts;
    for (const QString& part : paths_.viewFolderParts()) parts.push_back(nativeName(part));
    viewFolder_ = exportFolder().descend(parts);
    return *viewFolder_;
}

}  // namespace velloran::exporting
