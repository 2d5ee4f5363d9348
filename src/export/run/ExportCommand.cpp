#include "run/ExportCommand.h"

#include "run/ViewExport.h"

namespace velloran::exporting {

namespace {

const QString kFileFilter = QStringLiteral("Excel文件|*.xls");
const QString kStartCaption = QStringLiteral("请输入从第几个文档开始导出!");
const QString kStartPrompt = QStringLiteral("从第几个文档开始导：");
const QString kFirstDocument = QStringLiteral("1");

}  // namespace

ExportRequest requestFrom(const domino::BrowseState& state, const QString& chosenName) {
    return {state.Session.get(), state.CurrentDatabase.get(), state.CurrentViewName, state.ViewDocumentCount,
            state.ExportStart,   chosenName,                  state.ExeFolder};
}

void exportExecute(const ExportServices& services, domino::BrowseState& state) {
    const QString fileName = services.prompts.saveFileName(kFileFilter);
    if (fileName.isEmpty()) return;
    const platform::InputResult start = services.prompts.input(kStartCaption, kStartPrompt, kFirstDocument);
    // Cancel on the start prompt cancels the whole command, as on the save
    // dialog: nothing is written and the previous start stays as it was.
    if (!start.accepted) return;
    state.ExportStart = start.text;
    ViewExport(services).ExportToWorkbook(requestFrom(state, fileName));
}

}  // namespace velloran::exporting
