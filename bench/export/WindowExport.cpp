#include "WindowExport.h"

#include "Measure.h"

#include "DatabaseTree.h"
#include "MainWindow.h"
#include "ScriptedPrompts.h"
#include "run/ExportServices.h"

#include <QDir>
#include <QTreeWidget>

#include <stdexcept>

namespace velloran::bench {

namespace {

const QString kFirstDocument = QStringLiteral("1");

app::AppContext contextFor(const WindowExportRequest& request, platform::Prompts& prompts) {
    QDir().mkpath(request.exeFolder);
    app::AppContext context;
    context.exeFolder = request.exeFolder;
    context.hivePath = request.hivePath;
    context.prompts = &prompts;
    context.localHostName = [] { return QStringLiteral("BENCH"); };
    context.quit = [] {};
    context.logFolder = request.logFolder;
    return context;
}

QStringList messageTexts(const testing::ScriptedPrompts& prompts) {
    QStringList texts;
    for (const testing::PromptCall& call : prompts.messages()) texts << call.text;
    return texts;
}

// Opens the database and clicks the view, so that the window holds what
// the export reads: the database, the view's name and its document count.
void showView(app::TfrmMain& window, testing::ScriptedPrompts& prompts, const WindowExportRequest& request) {
    prompts.answerOpenFile(request.database);
    window.openfile->trigger();
    const QList<QTreeWidgetItem*> found =
        window.TreeView1->findItems(request.viewName, Qt::MatchExactly | Qt::MatchRecursive);
    if (found.isEmpty())
        throw std::runtime_error("the tree shows no view " + request.viewName.toStdString() + " of " +
                                 request.database.toStdString() + "; messages: " +
                                 messageTexts(prompts).join(QStringLiteral(" | ")).toStdString());
    window.TreeView1->setCurrentItem(found.first());
    window.runCommand([&window] { window.databaseTree().TreeView1Click(); });
}

}  // namespace

WindowExportResult exportThroughWindow(const WindowExportRequest& request) {
    testing::ScriptedPrompts prompts;
    app::TfrmMain window(contextFor(request, prompts));
    window.show();
    window.FormShow();
    showView(window, prompts, request);
    prompts.clear();
    prompts.answerSaveFile(request.workbook);
    prompts.answerInput(kFirstDocument);

    WindowExportResult result;
    result.documents = window.ViewDocumentCount;
    result.seconds = secondsOf([&window] { window.exportAction->trigger(); });
    result.messages = messageTexts(prompts);
    result.completed = result.messages.size() == 1 && result.messages.first().startsWith(exporting::messages::kCompleted);
    return result;
}

}  // namespace velloran::bench
