#include "ExportFixture.h"

#include "XlrdReader.h"

#include "component/ComponentRuntime.h"
#include "nsfjson/JsonDatabase.h"
#include "text/Gb18030.h"

#include <QFileInfo>

#include <filesystem>

namespace velloran::testing {

const QDateTime ExportFixture::kNow(QDate(2026, 12, 6), QTime(10, 5, 3));
const QString ExportFixture::kStamp = QStringLiteral("2026/12/6 10:05:03");

ExportFixture::ExportFixture()
    : log(QString::fromStdString(dir.file("logs")), [] { return kNow.toMSecsSinceEpoch(); },
          QLocale(QLocale::Chinese, QLocale::China)) {
    platform::ComponentRuntime(hive).registerServer(VELLORAN_NOTES_MODULE);
    std::filesystem::create_directories(dir.path() / "out");
    state.ExeFolder = QString::fromStdString(dir.file("program")) + QLatin1Char('/');
    state.ExportStart = QStringLiteral("1");
}

void ExportFixture::registerSpreadsheet() { platform::ComponentRuntime(hive).registerServer(VELLORAN_EXCEL_MODULE); }

void ExportFixture::openDatabase(const nlohmann::json& description, const QString& view) {
    const std::string file = dir.file("data.nsf");
    tools::buildFromJson(description, dir.path().string(), file);
    state.Session = std::make_unique<domino::TNotesSession>(platform::ComponentRuntime(hive));
    state.Session->Initialize();
    state.CurrentDatabase = std::make_unique<domino::TNotesDatabase>();
    state.CurrentDatabase->ConnectTo(state.Session->GetDatabase({}, QString::fromStdString(file)));
    domino::TNotesView opened;
    opened.ConnectTo(state.CurrentDatabase->GetView(view));
    state.CurrentViewName = view;
    state.ViewDocumentCount = opened.AllEntriesCount();
}

exporting::ViewExport ExportFixture::exporter() { return exporting::ViewExport({hive, prompts, wait, log, &stopRequested}); }

exporting::ExportOutcome ExportFixture::exportTo(const QString& chosenName) {
    return exporter().ExportToWorkbook(exporting::requestFrom(state, chosenName));
}

exporting::ExportOutcome ExportFixture::exportFrom(const QString& startText, const QString& name) {
    state.ExportStart = startText;
    return exportTo(out() + name);
}

QString ExportFixture::workbook(const QString& startText, const QString& name) const {
    return out() + name + QStringLiteral("_开始为第") + startText + QStringLiteral("个文档.xls");
}

QString ExportFixture::logFile() const { return log.fileFor(kNow.date()); }

QStringList ExportFixture::logLines() const {
    if (!QFileInfo::exists(logFile())) return {};
    const QString text = platform::fromGb18030(QByteArray::fromStdString(TempDir::read(logFile().toStdString())));
    // A value's line breaks stay in its line, so lines are cut at the stamp.
    QStringList lines = text.split(kStamp + QStringLiteral("\r\n"));
    EXPECT_EQ(lines.takeLast(), QString()) << "the last line ends with the stamp and CR LF";
    return lines;
}

std::vector<QString> ExportFixture::messageTexts() const {
    std::vector<QString> texts;
    for (const PromptCall& call : prompts.messages()) texts.push_back(call.text);
    return texts;
}

nlohmann::json ExportFixture::sheet(const QString& file) const { return readWithXlrd(file.toStdString())["sheets"][0]; }

}  // namespace velloran::testing
