#include "run/WorkbookFile.h"

#include "text/Trim.h"

namespace velloran::exporting {

namespace {

const QString kExtension = QStringLiteral(".XLS");

}  // namespace

bool isBlankFileName(const QString& name) { return platform::trimControl(name).isEmpty(); }

QString workbookFileName(const QString& chosenName, const QString& startText) {
    QString stem = chosenName;
    if (stem.right(kExtension.size()).toUpper() == kExtension) stem.chop(kExtension.size());
    return stem + QStringLiteral("_开始为第") + startText + QStringLiteral("个文档.xls");
}

QString folderOf(const QString& fileName) {
    const QString folder = fileName.left(fileName.lastIndexOf(QLatin1Char('/')) + 1);
    return folder.isEmpty() ? QStringLiteral("./") : folder;
}

QString withoutFolder(const QString& fileName) { return fileName.mid(fileName.lastIndexOf(QLatin1Char('/')) + 1); }

}  // namespace velloran::exporting
