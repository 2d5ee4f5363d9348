#pragma once
// Where an export writes: the workbook's folder, the view's attachment
// folder inside it (the view name's "\" giving nested folders) and one
// folder per document, named by its universal ID. Every name from the data
// is made safe first, so nothing lands outside the workbook's folder.
#include <QString>
#include <QStringList>

namespace velloran::exporting {

class ExportPaths {
public:
    // `exportFolder` ends in "/".
    ExportPaths(QString exportFolder, const QString& viewName);

    const QString& exportFolder() const { return exportFolder_; }
    // The parent of every document's folder, without a trailing "/".
    const QString& viewAttachmentFolder() const { return viewAttachmentFolder_; }
    // The folders from the workbook's folder down to the view's attachment
    // folder, one name each.
    const QStringList& viewFolderParts() const { return viewFolderParts_; }
    // The folder of the document with this universal ID, ending in "/".
    QString documentFolder(const QString& universalId) const;

private:
    QString exportFolder_;
    QStringList viewFolderParts_;
    QString viewAttachmentFolder_;
};

}  // namespace velloran::exporting
