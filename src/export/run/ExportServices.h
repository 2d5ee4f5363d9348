#pragma once
// What a front end plugs into the export: the browsing state it exports
// from, the registry hive that knows the spreadsheet application, how it
// asks and tells the user, how it shows progress, and the log.
#include "BrowseState.h"
#include "log/ExportLog.h"
#include "ui/Prompts.h"
#include "ui/WaitIndicator.h"

#include <string>

namespace velloran::exporting {

struct ExportServices {
    domino::BrowseState& state;
    std::string hivePath;
    platform::Prompts& prompts;
    platform::WaitIndicator& wait;
    const ExportLog& log;

    // A plain message: OK button, the application title as caption.
    void message(const QString& text) const;
};

// How a run ended. Only Completed means the whole view was exported.
struct ExportOutcome {
    enum class Result { Stopped, Failed, Completed };
    Result result = Result::Stopped;
    QString workbook;
    // The view's attachment folder (the parent of the documents' folders).
    QString attachmentFolder;

    bool completed() const { return result == Result::Completed; }
};

// The export's messages to the user.
namespace messages {
inline const QString kFileExists = QStringLiteral("文件已存在!");
inline const QString kNothingToExport = QStringLiteral("当前没有可导出的内容");
inline const QString kNoSpreadsheet = QStringLiteral("请确认您电脑上是否安装了EXCEL！");
inline const QString kViewFailed = QStringLiteral("连接视图出错:");
inline const QString kDocumentFailed = QStringLiteral("连接文档出错:");
inline const QString kSaveFailed = QStringLiteral("保存Excel文件出错:");
inline const QString kExporting = QStringLiteral("正在导出数据到");
inline const QString kCompleted =
    QStringLiteral("您好，数据导出完成，导出的附件文档存放在Excel文件的同一目录下，文件夹名为：");
}  // namespace messages

}  // namespace velloran::exporting
