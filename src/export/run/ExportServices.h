#pragma once
// What a front end plugs into the export: the registry hive that knows the
// spreadsheet application, how it asks and tells the user, how it shows
// progress, and the log.
#include "log/ExportLog.h"
#include "ui/Prompts.h"
#include "ui/WaitIndicator.h"

#include <atomic>
#include <cstdint>
#include <string>

namespace velloran::exporting {

struct ExportServices {
    std::string hivePath;
    platform::Prompts& prompts;
    platform::WaitIndicator& wait;
    const ExportLog& log;
    // Set from outside the run (a signal handler) to end it: the run reads
    // it before each document, and once set it saves what it has written
    // and ends as Interrupted. None: the run goes to its end.
    const std::atomic<bool>* stopRequested = nullptr;

    // A plain message: OK button, the application title as caption.
    void message(const QString& text) const;
};

// What a run could not write although it went on: attachments not saved,
// rich-text objects not saved, cells whose text is missing or incomplete.
struct ExportLosses {
    int attachments = 0;
    int objects = 0;
    int cells = 0;
    int logLines = 0;  // lines of the log that could not be written

    bool any() const { return attachments > 0 || objects > 0 || cells > 0 || logLines > 0; }
};

// How a run ended. Only Completed means the whole view was exported;
// Incomplete means the run went to the end but lost what `losses` counts;
// Interrupted means it was asked to stop before `interruptedAt`.
struct ExportOutcome {
    enum class Result { Stopped, Failed, Interrupted, Incomplete, Completed };
    Result result = Result::Stopped;
    // The workbook's file as saved (beside the name asked for when a file
    // took that name during the run).
    QString workbook;
    // The view's attachment folder (the parent of the documents' folders).
    QString attachmentFolder;
    // The log file that holds the run's last lines.
    QString logFile;
    ExportLosses losses;
    // Whether the workbook was saved (at `workbook`).
    bool saved = false;
    // Interrupted: the first document not exported.
    std::int32_t interruptedAt = 0;

    bool completed() const { return result == Result::Completed; }
};

// The export's messages to the user.
namespace messages {
inline const QString kFileExists = QStringLiteral("文件已存在!");
inline const QString kNothingToExport = QStringLiteral("当前没有可导出的内容");
inline const QString kStartBelowOne = QStringLiteral("开始导出的文档序号不能小于1:");
inline const QString kNoSpreadsheet = QStringLiteral("请确认您电脑上是否安装了EXCEL！");
inline const QString kViewFailed = QStringLiteral("连接视图出错:");
inline const QString kDocumentFailed = QStringLiteral("连接文档出错:");
inline const QString kSaveFailed = QStringLiteral("保存Excel文件出错:");
inline const QString kExporting = QStringLiteral("正在导出数据到");
inline const QString kCompleted = QStringLiteral("您好，数据导出完成");

// A file took the workbook's name during the run: it was kept, and the
// workbook saved beside it.
QString savedBeside(const QString& planned, const QString& saved);

// Where a run saved: the workbook as saved, and the attachment folder when
// the run saved something in it (else empty). The end of the message of a
// run that saved its workbook.
QString savedFiles(const QString& workbook, const QString& attachmentFolder);

// The first line of the message of a run asked to stop before document `n`
// of `count`.
QString interrupted(std::int32_t n, std::int32_t count);

// The first line of the message of a run that went to the end but could
// not write everything.
QString incomplete(const ExportLosses& losses, const QString& logFile);
// A line that tells how many log lines were lost and why the first was;
// empty for none.
QString lostLogLines(int count, const QString& why);
}  // namespace messages

}  // namespace velloran::exporting
