#include "run/ExportServices.h"

#include "errors/ErrorReport.h"

namespace velloran::exporting {

void ExportServices::message(const QString& text) const {
    prompts.message(text, platform::kApplicationTitle, platform::MessageIcon::None, platform::MessageButtons::Ok);
}

QString messages::savedBeside(const QString& planned, const QString& saved) {
    return QStringLiteral("导出期间已有同名文件%1，该文件未被覆盖，Excel文件另存为：%2").arg(planned, saved);
}

QString messages::savedFiles(const QString& workbook, const QString& attachmentFolder) {
    const QString saved = QStringLiteral("Excel文件：") + workbook;
    if (attachmentFolder.isEmpty()) return saved;
    return saved + QStringLiteral("\n导出的附件文档存放在Excel文件的同一目录下，文件夹名为：") + attachmentFolder;
}

QString messages::interrupted(std::int32_t n, std::int32_t count) {
    return QStringLiteral("导出已中断：第%1个文档起未导出（共%2个文档）。").arg(n).arg(count);
}

QString messages::incomplete(const ExportLosses& losses, const QString& logFile) {
    return QStringLiteral("数据导出结束，但有内容未能导出：%1个附件、%2个RichText对象、%3个单元格。"
                          "每一项的原因记录在日志文件：%4")
        .arg(losses.attachments)
        .arg(losses.objects)
        .arg(losses.cells)
        .arg(logFile);
}

QString messages::lostLogLines(int count, const QString& why) {
    return count > 0 ? QStringLiteral("\n有%1行日志未能写入:%2").arg(count).arg(why) : QString();
}

}  // namespace velloran::exporting
