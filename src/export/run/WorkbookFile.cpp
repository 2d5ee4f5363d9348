#include "run/WorkbookFile.h"

#include "files/Replaceable.h"
#include "text/Trim.h"

#include <QFile>

namespace velloran::exporting {

namespace {

bool endsWithExtension(const QString& fileName, WorkbookFormat format) {
    return fileName.endsWith(extensionOf(format), Qt::CaseInsensitive);
}

QString refusalText(platform::WriteRefusal refusal) {
    using platform::WriteRefusal;
    switch (refusal) {
        case WriteRefusal::NoFolder: return QStringLiteral("所在的目录不存在");
        case WriteRefusal::ReadOnlyFileSystem: return QStringLiteral("所在的磁盘是只读的");
        case WriteRefusal::FolderInTheWay: return QStringLiteral("已有同名的目录");
        case WriteRefusal::FolderNotWritable: return QStringLiteral("您没有在所在目录中写入文件的权限");
        case WriteRefusal::OwnedByAnother: return QStringLiteral("同名文件属于其他用户，所在目录只允许文件的所有者替换它");
        case WriteRefusal::ReadOnlyFile: return QStringLiteral("同名文件是只读的");
        case WriteRefusal::None: break;
    }
    return {};
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

QString numberedFileName(const QString& fileName, int number) {
    if (number == 1) return fileName;
    const qsizetype leafStart = fileName.lastIndexOf(QLatin1Char('/')) + 1;
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    const qsizetype at = dot > leafStart ? dot : fileName.size();
    return QString(fileName).insert(at, QStringLiteral(" (%1)").arg(number));
}

QString whyCannotSaveAs(const QString& fileName, bool replacing) {
    const QString reason =
        refusalText(platform::writeRefusalAt(QFile::encodeName(fileName).toStdString(), replacing));
    if (reason.isEmpty()) return {};
    return QStringLiteral("无法保存为 %1：%2，导出没有开始").arg(fileName, reason);
}

}  // namespace velloran::exporting
