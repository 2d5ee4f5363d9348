#include "log/LogLines.h"

namespace velloran::exporting::lines {

namespace {

QString number(qsizetype value) { return QString::number(value); }

}  // namespace

QString exportStarted(const QString& viewName, const QString& workbook) {
    return QStringLiteral("开始导出视图") + viewName + QStringLiteral("到文件") + workbook + QLatin1Char(';');
}

QString documentStarted(int n) { return QStringLiteral("完成向excel写入第") + number(n) + QStringLiteral("个文档;"); }

QString hasAttachments(int n) { return QStringLiteral("判断第") + number(n) + QStringLiteral("个文档有附件;"); }

QString readingAttachmentNames(int n) {
    return QStringLiteral("获取第") + number(n) + QStringLiteral("个文档有附件列表;");
}

QString attachmentCount(int n, qsizetype count) {
    return QStringLiteral("获取第") + number(n) + QStringLiteral("个文档有附件数量为:") + number(count) +
           QLatin1Char(';');
}

QString attachmentFound(int n, int j, const QString& name) {
    return QStringLiteral("获取第") + number(n) + QStringLiteral("个文档第") + number(j) + QStringLiteral("个附件:") +
           name + QLatin1Char(';');
}

QString attachmentSaved(int n, int j, const QString& path) {
    return QStringLiteral("保存第") + number(n) + QStringLiteral("个文档第") + number(j) +
           QStringLiteral("个附件到:") + path + QLatin1Char(';');
}

QString pictureStarted(const QString& folder) { return QStringLiteral("调用图片导出程序保存到:") + folder + QStringLiteral(" ;"); }

QString pictureFinished(const QString& folder) {
    return QStringLiteral("结束图片导出程序保存到:") + folder + QStringLiteral(" ;");
}

QString itemStarted(int n) { return QStringLiteral("开始分离第") + number(n) + QStringLiteral("个文档RichText域;"); }

QString richTextObjectSaved(int n, const QString& path) {
    return QStringLiteral("分离第") + number(n) + QStringLiteral("个文档RichText域到:") + path + QLatin1Char(';');
}

QString itemValue(const QString& value) { return QStringLiteral("  s=s+") + value + QLatin1Char(';'); }

QString cellWritten() { return QStringLiteral(" s值写入excel表 ;"); }

QString nextDocumentFailed(int n) { return QStringLiteral("链接第") + number(n) + QStringLiteral("个文档出错;"); }

QString documentStepFailed(int n, const QString& what, const QString& reason) {
    return QStringLiteral("导出第") + number(n) + QStringLiteral("个文档出错:") + what + QLatin1Char(',') + reason +
           QLatin1Char(';');
}

}  // namespace velloran::exporting::lines
