#include "log/LogLines.h"

#include <algorithm>

namespace velloran::exporting::lines {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString number(qsizetype value) { return QString::number(value); }

bool isControl(QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; }

QString writtenOut(QChar control) {
    switch (control.unicode()) {
    case '\r': return QStringLiteral("\\r");
    case '\n': return QStringLiteral("\\n");
    case '\t': return QStringLiteral("\\t");
    default: return QStringLiteral("\\x") + QString::number(control.unicode(), 16).rightJustified(2, u'0').toUpper();
    }
}

// The name with its control characters written out, so it stays within its
// line.
QString escaped(const QString& name) {
    if (std::none_of(name.begin(), name.end(), isControl)) return name;
    QString text;
    text.reserve(name.size() + 8);
    for (QChar c : name) {
        if (isControl(c))
            text += writtenOut(c);
        else
            text += c;
    }
    return text;
}

// Every line break ("\r\n", a lone "\r" or a lone "\n") as CR LF.
QString withCrLfBreaks(const QString& value) {
    if (!value.contains(QLatin1Char('\r')) && !value.contains(QLatin1Char('\n'))) return value;
    QString text;
    text.reserve(value.size() + 8);
    for (qsizetype at = 0; at < value.size(); ++at) {
        const QChar c = value[at];
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            text += kCrLf;
            if (c == QLatin1Char('\r') && at + 1 < value.size() && value[at + 1] == QLatin1Char('\n')) ++at;
        } else {
            text += c;
        }
    }
    return text;
}

}  // namespace

QString exportStarted(const QString& viewName, const QString& workbook) {
    return QStringLiteral("开始导出视图") + escaped(viewName) + QStringLiteral("到文件") + escaped(workbook) +
           QLatin1Char(';');
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
           escaped(name) + QLatin1Char(';');
}

QString attachmentSaved(int n, int j, const QString& path) {
    return QStringLiteral("保存第") + number(n) + QStringLiteral("个文档第") + number(j) +
           QStringLiteral("个附件到:") + escaped(path) + QLatin1Char(';');
}

QString pictureStarted(const QString& folder) {
    return QStringLiteral("调用图片导出程序保存到:") + escaped(folder) + QStringLiteral(" ;");
}

QString pictureFinished(const QString& folder) {
    return QStringLiteral("结束图片导出程序保存到:") + escaped(folder) + QStringLiteral(" ;");
}

QString itemStarted(int n) { return QStringLiteral("开始分离第") + number(n) + QStringLiteral("个文档RichText域;"); }

QString richTextObjectSaved(int n, const QString& path) {
    return QStringLiteral("分离第") + number(n) + QStringLiteral("个文档RichText域到:") + escaped(path) +
           QLatin1Char(';');
}

QString itemValue(const QString& value) { return QStringLiteral("  s=s+") + withCrLfBreaks(value) + QLatin1Char(';'); }

QString cellWritten() { return QStringLiteral(" s值写入excel表 ;"); }

QString nextDocumentFailed(int n) { return QStringLiteral("链接第") + number(n) + QStringLiteral("个文档出错;"); }

QString documentStepFailed(int n, const QString& what, const QString& reason) {
    return QStringLiteral("导出第") + number(n) + QStringLiteral("个文档出错:") + escaped(what) + QLatin1Char(',') +
           escaped(reason) + QLatin1Char(';');
}

}  // namespace velloran::exporting::lines
