#pragma once
// The main window: menu, tool bar, database tree, document list, status
// bar; the browsing state every command shares; and the start-up sequence
// run when the window is first shown.
#include "AppContext.h"
#include "BrowseContext.h"
#include "BrowseState.h"
#include "run/ExportCommand.h"

#include <QAction>
#include <QMainWindow>

#include <functional>
#include <memory>

class QFrame;
class QLabel;
class QStatusBar;
class QToolBar;
class QTreeWidget;

namespace velloran::browse {
class DatabaseTree;
class DocumentDetails;
class DocumentList;
class ListView;
class ServerConnection;
}

namespace velloran::app {

class SplitterBar;

class TfrmMain : public QMainWindow, public domino::BrowseState {
    Q_OBJECT
public:
    static constexpr int kToolButtonWidth = 67;
    static constexpr int kToolButtonHeight = 36;
    static constexpr int kTreePanelWidth = 225;
    static constexpr int kStatusPanelWidth = 250;

    explicit TfrmMain(AppContext context, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // Last pointer position over the splitter bar, in the bar's coordinates.
    int SplitterX = 0;

    // Controls, by their object names.
    QFrame* Panel1;
    QToolBar* ToolBar1;
    QFrame* Panel2;
    QTreeWidget* TreeView1;
    SplitterBar* Panel4;
    QFrame* Panel3;
    browse::ListView* ListView1;
    QFrame* Panel5;
    QStatusBar* StatusBar1;

    // Commands, by their action names.
    QAction* exitsystem;
    QAction* openserver;
    QAction* openfile;
    QAction* exportAction;  // object name "export"
    QAction* inportdata;
    QAction* about;
    // Tool buttons that are not commands.
    QAction* ToolButton11;
    QAction* ToolButton7;
    QAction* ToolButton8;
    QAction* ToolButton9;
    QAction* ToolButton10;

    browse::DocumentList& documentList() { return *documents_; }
    browse::DatabaseTree& databaseTree() { return *databaseTree_; }
    browse::ServerConnection& serverConnection() { return *serverConnection_; }
    browse::DocumentDetails& documentDetails() { return *details_; }

    QString statusPanelText(int panel) const;
    void setStatusPanelText(int panel, const QString& text);

    // The start-up sequence; runs once, when the window is first shown.
    void FormShow();
    // Whether the start-up sequence refused to go on (nothing installed), so
    // that the program ends with a failure status.
    bool refusedToStart() const { return refusedToStart_; }
    void exitsystemExecute();
    void exportExecute();
    void aboutExecute();
    void inportdataExecute();
    void Panel4MouseMove(int x, bool leftButtonDown);

    AppContext& context() { return context_; }
    platform::Prompts& prompts() { return *context_.prompts; }
    // Shows a plain message: OK button, the application title as caption.
    void showMessage(const QString& text);
    // Runs a command or event handler; an error it raises is shown by the
    // application-wide error report and the program goes on.
    void runCommand(const std::function<void()>& command);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildActions();
    void buildMenu();
    void buildToolBar();
    void buildPanels();
    void buildStatusBar();
    QAction* makeAction(const QString& objectName, const QString& caption, int icon, QChar accelerator = {});
    void prepareDominoObjects();

    void buildBrowsing();
    // A double click in the list: a view icon opens the view, a document
    // row its details.
    void openListItem();
    // Paging buttons enabled where they show another page; the window title
    // names the database open.
    void refreshCommands();
    QString openDatabaseName() const;
    browse::BrowseContext browseContext();

    AppContext context_;
    std::unique_ptr<platform::WaitIndicator> wait_;
    std::unique_ptr<browse::DocumentList> documents_;
    std::unique_ptr<browse::DatabaseTree> databaseTree_;
    std::unique_ptr<browse::ServerConnection> serverConnection_;
    std::unique_ptr<browse::DocumentDetails> details_;
    // Where the next export's save dialog opens.
    exporting::ExportFolderMemory exportFolders_;
    QVector<QIcon> commandIcons_;
    QLabel* statusPanels_[2];
    bool shown_ = false;
    bool started_ = false;
    bool refusedToStart_ = false;
};

}  // namespace velloran::app
