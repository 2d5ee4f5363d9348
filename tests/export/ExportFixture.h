#pragma once
// An export against the real engine and the real spreadsheet component:
// both registered into a temporary hive, a database built by the data
// tools, the browsing state as the window leaves it after a click on the
// view, scripted prompts, a recorded wait window and a log on a fixed
// clock.
#include "QStringPrinter.h"
#include "RecordingWait.h"
#include "ScriptedPrompts.h"
#include "TempDir.h"

#include "BrowseState.h"
#include "log/ExportLog.h"
#include "run/ExportCommand.h"
#include "run/ViewExport.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <atomic>
#include <string>

namespace velloran::testing {

class ExportFixture : public ::testing::Test {
protected:
    static const QDateTime kNow;      // the clock's moment
    static const QString kStamp;      // how the log stamps it

    ExportFixture();

    // Builds the database from `description`, opens it and "clicks" `view`.
    void openDatabase(const nlohmann::json& description, const QString& view);
    void registerSpreadsheet();

    exporting::ViewExport exporter();
    // The export of what `state` browses, into `chosenName`.
    exporting::ExportOutcome exportTo(const QString& chosenName);
    // The same with this start text and the chosen name out/<name>.
    exporting::ExportOutcome exportFrom(const QString& startText, const QString& name = QStringLiteral("导出"));

    QString out() const { return QString::fromStdString(dir.file("out")) + QLatin1Char('/'); }
    QString workbook(const QString& startText, const QString& name = QStringLiteral("导出")) const;
    // The day's log file, its lines without the stamp (which is checked).
    QStringList logLines() const;
    QString logFile() const;
    std::vector<QString> messageTexts() const;
    nlohmann::json sheet(const QString& file) const;

    TempDir dir;
    std::string hive = dir.file("registry.reg");
    domino::BrowseState state;
    ScriptedPrompts prompts;
    RecordingWait wait;
    exporting::ExportLog log;
    // The run's stop flag, as the window's cancel button sets it.
    std::atomic<bool> stopRequested{false};
};

}  // namespace velloran::testing
