#include "paths/ExportPaths.h"

#include "paths/SafeNames.h"

namespace velloran::exporting {

namespace {

const QString kAttachmentSuffix = QStringLiteral("附件");

}  // namespace

ExportPaths::ExportPaths(QString exportFolder, const QString& viewName)
    : exportFolder_(std::move(exportFolder)),
      viewFolderParts_(safeFolderParts(viewName + kAttachmentSuffix)),
      viewAttachmentFolder_(exportFolder_ + viewFolderParts_.join(QLatin1Char('/'))) {}

QString ExportPaths::documentFolder(const QString& universalId) const {
    return viewAttachmentFolder_ + QLatin1Char('/') + safeFileName(universalId) + QLatin1Char('/');
}

}  // namespace velloran::exporting
