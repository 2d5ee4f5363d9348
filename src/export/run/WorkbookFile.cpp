#include "run/WorkbookFile.h"

#include "text/Trim.h"

namespace velloran::exporting {

namespace {

bool endsWithExtension(const QString& fileName, WorkbookFormat format) {
    return fileName.endsWith(extensionOf(format), Qt::CaseInsensitive);
}

}  // namespace

QString extensionOf(WorkbookFormat format) {
    switch (format) {
        case WorkbookFormat::Xlsx: return QStringLiteral(".xlsx");
        case WorkbookFormat::Csv: return QStringLiteral(".csv");
        case WorkbookFormat::Xls: break;
    }
    return QStringLiteral(".xls");
}

WorkbookFormat formatOfName(const QString& fileName) {
    for (const WorkbookFormat format : {WorkbookFormat::Xlsx, WorkbookFormat::Csv})
        if (endsWithExtension(fileName, format)) return format;
    return WorkbookFormat::Xls;
}

bool isBlankFileName(const QString& name) { return platform::trimControl(name).isEmpty(); }

QString workbookFileName(const QString& chosenName, const QString& startText, WorkbookFormat format) {
    QString stem = chosenName;
    const QString extension = extensionOf(format);
    if (endsWithExtension(stem, format)) stem.chop(extension.size());
    return stem + QStringLiteral("_开始为第") + startText + QStringLiteral("个文档") + extension;
}

QString folderOf(const QString& fileName) {
    const QString folder = fileName.left(fileName.lastIndexOf(QLatin1Char('/')) + 1);
    return folder.isEmpty() ? QStringLiteral("./") : folder;
}

QString withoutFolder(const QString& fileName) { return fileName.mid(fileName.lastIndexOf(QLatin1Char('/')) + 1); }

}  // namespace velloran::exporting
