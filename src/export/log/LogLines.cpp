#include "log/LogLines.h"

namespace velloran::exporting::lines {

LogLine exportStarted(const QString& viewName, const QString& workbook) {
    return LogLine().text(u"开始导出视图").name(viewName).text(u"到文件").name(workbook).text(u";");
}

LogLine documentStarted(int n) { return LogLine().text(u"完成向excel写入第").number(n).text(u"个文档;"); }

LogLine hasAttachments(int n) { return LogLine().text(u"判断第").number(n).text(u"个文档有附件;"); }

LogLine readingAttachmentNames(int n) { return LogLine().text(u"获取第").number(n).text(u"个文档有附件列表;"); }

LogLine attachmentCount(int n, qsizetype count) {
    return LogLine().text(u"获取第").number(n).text(u"个文档有附件数量为:").number(count).text(u";");
}

LogLine attachmentFound(int n, int j, const QString& name) {
    return LogLine().text(u"获取第").number(n).text(u"个文档第").number(j).text(u"个附件:").name(name).text(u";");
}

LogLine attachmentSaved(int n, int j, const QString& path) {
    return LogLine().text(u"保存第").number(n).text(u"个文档第").number(j).text(u"个附件到:").name(path).text(u";");
}

LogLine pictureStarted(const QString& folder) {
    return LogLine().text(u"调用图片导出程序保存到:").name(folder).text(u" ;");
}

LogLine pictureFinished(const QString& folder) {
    return LogLine().text(u"结束图片导出程序保存到:").name(folder).text(u" ;");
}

LogLine itemStarted(int n) { return LogLine().text(u"开始分离第").number(n).text(u"个文档RichText域;"); }

LogLine richTextObjectSaved(int n, const QString& path) {
    return LogLine().text(u"分离第").number(n).text(u"个文档RichText域到:").name(path).text(u";");
}

LogLine itemValue(const QString& value) { return LogLine().text(u"  s=s+").value(value).text(u";"); }

LogLine cellWritten() { return LogLine().text(u" s值写入excel表 ;"); }

LogLine nextDocumentFailed(int n) { return LogLine().text(u"链接第").number(n).text(u"个文档出错;"); }

LogLine documentStepFailed(int n, const QString& what, const QString& reason) {
    return LogLine().text(u"导出第").number(n).text(u"个文档出错:").name(what).text(u",").name(reason).text(u";");
}

LogLine exportInterrupted(int n) {
    return LogLine().text(u"导出在第").number(n).text(u"个文档前被中断，该文档起未导出;");
}

}  // namespace velloran::exporting::lines
