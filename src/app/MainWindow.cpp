#include "MainWindow.h"

#include "AboutBox.h"
#include "CommandIcons.h"
#include "DocumentDetails.h"
#include "DatabaseTree.h"
#include "DocumentList.h"
#include "ServerConnection.h"
#include "WaitMsg.h"
#include "log/ExportLog.h"
#include "run/ExportCommand.h"
#include "DominoEnvironment.h"
#include "Settings.h"
#include "Splitter.h"
#include "Vendor.h"
#include "errors/ErrorReport.h"
#include "errors/GuardedApplication.h"
#include "ui/PlainMessage.h"
#include "ListView.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QRegularExpression>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace velloran::app {

namespace {

QFrame* makePanel(const QString& name, QWidget* parent, bool lowered) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(name);
    if (lowered) panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return panel;
}

QVBoxLayout* fillLayout(QWidget* panel) {
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    return layout;
}

}  // namespace

TfrmMain::TfrmMain(AppContext context, QWidget* parent)
    : QMainWindow(parent), context_(std::move(context)), commandIcons_(commandIcons()) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(platform::kApplicationTitle);
    setWindowIcon(programIcon());
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("WenQuanYi Micro Hei")});
    font.setPixelSize(11);
    setFont(font);
    buildActions();
    buildMenu();
    buildPanels();
    buildToolBar();
    buildStatusBar();
    buildBrowsing();
    resize(825, 606);
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    // FormCreate: every field starts at zero, null or empty.
    SplitterX = 0;
    ViewDocumentCount = 0;
}

browse::BrowseContext TfrmMain::browseContext() {
    return browse::BrowseContext{*this, *TreeView1, *ListView1, prompts(), *wait_,
                                 [this](const QString& text) { setStatusPanelText(1, text); }};
}

void TfrmMain::buildBrowsing() {
    wait_ = std::make_unique<WaitMsgIndicator>();
    const auto dataPath = [this] {
        return DominoEnvironment(platform::ComponentRuntime(context_.hivePath), prompts()).GetDominoDataPath();
    };
    documents_ = std::make_unique<browse::DocumentList>(browseContext());
    databaseTree_ = std::make_unique<browse::DatabaseTree>(browseContext(), *documents_, dataPath);
    browse::ServerConnectionHooks hooks;
    hooks.dataPath = dataPath;
    hooks.saveSettings = [this] { rememberLoginValues(ExeFolder, {ServerName, UserName, Password}, prompts()); };
    hooks.runDialog = context_.runDialog;
    serverConnection_ = std::make_unique<browse::ServerConnection>(browseContext(), *databaseTree_, hooks);
    details_ = std::make_unique<browse::DocumentDetails>(browseContext(), context_.runDialog);

    const auto command = [this](QAction* action, auto handler) {
        connect(action, &QAction::triggered, this, [this, handler] { runCommand(handler); });
    };
    command(openserver, [this] { serverConnection_->openserverExecute(); });
    command(openfile, [this] { databaseTree_->openfileExecute(); });
    command(ToolButton7, [this] { documents_->pageButtonClick(browse::PageButton::First); });
    command(ToolButton8, [this] { documents_->pageButtonClick(browse::PageButton::Previous); });
    command(ToolButton9, [this] { documents_->pageButtonClick(browse::PageButton::Next); });
    command(ToolButton10, [this] { documents_->pageButtonClick(browse::PageButton::Last); });
    command(exportAction, [this] { exportExecute(); });
    command(ToolButton11, [this] { details_->ListView1DblClick(); });
    command(about, [this] { aboutExecute(); });
    command(inportdata, [this] { inportdataExecute(); });
    connect(ListView1, &browse::ListView::itemDoubleClicked, this, [this] { runCommand([this] { openListItem(); }); });
    connect(TreeView1, &QTreeWidget::itemClicked, this,
            [this] { runCommand([this] { databaseTree_->TreeView1Click(); }); });
    TreeView1->installEventFilter(this);
    ListView1->reportWidget()->installEventFilter(this);
    refreshCommands();
}

void TfrmMain::openListItem() {
    if (ListView1->style() == browse::ListView::Style::Icon)
        databaseTree_->openListedView(ListView1->selectedCaption());
    else
        details_->ListView1DblClick();
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QMainWindow::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    // Enter or Space on a tree node acts as a click on it; Enter on a row
    // opens its details.
    if (watched == TreeView1 && (enter || key == Qt::Key_Space)) {
        runCommand([this] { databaseTree_->TreeView1Click(); });
        return true;
    }
    if (watched == ListView1->reportWidget() && enter) {
        runCommand([this] { details_->ListView1DblClick(); });
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

QString TfrmMain::openDatabaseName() const {
    if (TreeView1->topLevelItemCount() == 0) return {};
    if (DatabasePath.isEmpty()) return ServerName;
    return DatabasePath.section(QRegularExpression(QStringLiteral("[/\\\\]")), -1);
}

void TfrmMain::refreshCommands() {
    ToolButton7->setEnabled(documents_->canPage(browse::PageButton::First));
    ToolButton8->setEnabled(documents_->canPage(browse::PageButton::Previous));
    ToolButton9->setEnabled(documents_->canPage(browse::PageButton::Next));
    ToolButton10->setEnabled(documents_->canPage(browse::PageButton::Last));
    const QString name = openDatabaseName();
    setWindowTitle(name.isEmpty() ? platform::kApplicationTitle : platform::kApplicationTitle + " - " + name);
}

TfrmMain::~TfrmMain() {
    // FormDestroy: the session goes before the database wrapper.
    Session.reset();
    CurrentDatabase.reset();
}

QAction* TfrmMain::makeAction(const QString& objectName, const QString& caption, int icon, QChar accelerator) {
    // The menus show the accelerator after the caption, "打开文件(&O)"; the
    // tool buttons show the caption alone.
    const QString text = accelerator.isNull() ? caption : caption + "(&" + accelerator + ")";
    auto* action = new QAction(commandIcons_.value(icon), text, this);
    action->setIconText(caption);
    action->setObjectName(objectName);
    action->setIconVisibleInMenu(true);
    return action;
}

void TfrmMain::buildActions() {
    exitsystem = makeAction(QStringLiteral("exitsystem"), QStringLiteral("退出系统"), 1, 'X');
    openserver = makeAction(QStringLiteral("openserver"), QStringLiteral("连接服务器"), 4, 'S');
    openfile = makeAction(QStringLiteral("openfile"), QStringLiteral("打开文件"), 3, 'O');
    openfile->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    exportAction = makeAction(QStringLiteral("export"), QStringLiteral("导出数据"), 2, 'E');
    inportdata = makeAction(QStringLiteral("inportdata"), QStringLiteral("导入数据"), 0, 'I');
    about = makeAction(QStringLiteral("about"), QStringLiteral("关于"), 5, 'A');
    ToolButton11 = makeAction(QStringLiteral("ToolButton11"), QStringLiteral("文档详情"), 10);
    ToolButton7 = makeAction(QStringLiteral("ToolButton7"), QStringLiteral("首页"), 8);
    ToolButton8 = makeAction(QStringLiteral("ToolButton8"), QStringLiteral("上一页"), 6);
    ToolButton9 = makeAction(QStringLiteral("ToolButton9"), QStringLiteral("下一页"), 7);
    ToolButton10 = makeAction(QStringLiteral("ToolButton10"), QStringLiteral("尾页"), 9);
    connect(exitsystem, &QAction::triggered, this, [this] { runCommand([this] { exitsystemExecute(); }); });
}

void TfrmMain::buildMenu() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    const struct {
        const char* name;
        QString caption;
        QList<QPair<const char*, QAction*>> items;
    } entries[] = {
        {"N1", QStringLiteral("文   件(&F)"), {{"N2", openfile}, {"N3", openserver}, {"N6", exitsystem}}},
        {"N4", QStringLiteral("工   具(&T)"), {{"ACCESS1", exportAction}, {"ACCESS2", inportdata}}},
        {"N5", QStringLiteral("关  于(&H)"), {{"N7", about}}},
    };
    for (const auto& entry : entries) {
        QMenu* menu = bar->addMenu(entry.caption);
        menu->setObjectName(QString::fromLatin1(entry.name));
        menu->menuAction()->setObjectName(QString::fromLatin1(entry.name));
        for (const auto& [itemName, action] : entry.items) {
            // Each menu item shows its command; the item keeps its own name
            // as a property so it can be told apart from the tool button.
            menu->addAction(action);
            menu->actions().constLast()->setProperty("menuItemName", QString::fromLatin1(itemName));
        }
    }
}

void TfrmMain::buildToolBar() {
    ToolBar1 = new QToolBar(Panel1);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setFixedHeight(48);
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    ToolBar1->setMovable(false);
    ToolBar1->setCursor(Qt::PointingHandCursor);
    const struct {
        const char* name;
        QAction* action;
        QString hint;
    } buttons[] = {
        {"ToolButton1", openserver, QStringLiteral("连接到Domino服务器")},
        {"ToolButton2", openfile, QStringLiteral("打开独立的NSF库文件")},
        {"ToolButton4", exportAction,
         QStringLiteral("导出所选视图的文档数据到EXCEL文件中，并与附件RTF域图片等一并导出")},
        {"ToolButton11", ToolButton11, QStringLiteral("查看所选中文档的所有域和值")},
        {"ToolButton7", ToolButton7, QString()},
        {"ToolButton8", ToolButton8, QString()},
        {"ToolButton9", ToolButton9, QString()},
        {"ToolButton10", ToolButton10, QString()},
        {"ToolButton5", about, QString()},
        {"ToolButton6", exitsystem, QString()},
    };
    for (const auto& button : buttons) {
        ToolBar1->addAction(button.action);
        auto* widget = qobject_cast<QToolButton*>(ToolBar1->widgetForAction(button.action));
        widget->setObjectName(QString::fromLatin1(button.name));
        widget->setFixedSize(kToolButtonWidth, kToolButtonHeight);
        // Only buttons with a hint show a tooltip, also after the command
        // changes (a button takes the command's tooltip then).
        widget->setToolTip(button.hint);
        connect(button.action, &QAction::changed, widget, [widget, hint = button.hint] { widget->setToolTip(hint); });
        widget->setProperty("hint", button.hint);
    }
    fillLayout(Panel1)->addWidget(ToolBar1);
}

void TfrmMain::buildPanels() {
    auto* client = new QWidget(this);
    auto* column = new QVBoxLayout(client);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    Panel1 = makePanel(QStringLiteral("Panel1"), client, false);
    Panel1->setFixedHeight(49);
    Panel5 = makePanel(QStringLiteral("Panel5"), client, true);
    Panel5->setFixedHeight(32);
    Panel2 = makePanel(QStringLiteral("Panel2"), client, true);
    Panel2->setFixedWidth(kTreePanelWidth);
    Panel4 = new SplitterBar(client);
    Panel4->setObjectName(QStringLiteral("Panel4"));
    Panel4->setFixedWidth(3);
    Panel3 = makePanel(QStringLiteral("Panel3"), client, true);

    TreeView1 = new QTreeWidget(Panel2);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setHeaderHidden(true);
    TreeView1->setIndentation(19);
    TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeView1->setFrameShape(QFrame::NoFrame);
    fillLayout(Panel2)->addWidget(TreeView1);

    ListView1 = new browse::ListView(Panel3);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setImages(listIcons());
    ListView1->setStyle(browse::ListView::Style::Icon);
    QPalette listPalette = ListView1->palette();
    listPalette.setColor(QPalette::Base, listPalette.color(QPalette::Window));
    ListView1->reportWidget()->setPalette(listPalette);
    ListView1->iconWidget()->setPalette(listPalette);
    fillLayout(Panel3)->addWidget(ListView1);

    auto* middle = new QHBoxLayout;
    middle->setContentsMargins(0, 0, 0, 0);
    middle->setSpacing(0);
    middle->addWidget(Panel2);
    middle->addWidget(Panel4);
    middle->addWidget(Panel3, 1);

    column->addWidget(Panel1);
    column->addLayout(middle, 1);
    column->addWidget(Panel5);
    setCentralWidget(client);

    connect(Panel4, &SplitterBar::pointerMoved, this,
            [this](int x, bool down) { runCommand([&] { Panel4MouseMove(x, down); }); });
}

void TfrmMain::buildStatusBar() {
    StatusBar1 = new QStatusBar(Panel5);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setFixedHeight(31);
    StatusBar1->setSizeGripEnabled(false);
    for (int panel = 0; panel < 2; ++panel) {
        statusPanels_[panel] = new QLabel(StatusBar1);
        statusPanels_[panel]->setObjectName(QStringLiteral("StatusPanel%1").arg(panel));
        statusPanels_[panel]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    }
    // The view summary takes the width the first panel leaves, so that a long
    // view name and the range shown stay readable.
    statusPanels_[0]->setFixedWidth(kStatusPanelWidth);
    statusPanels_[1]->setMinimumWidth(kStatusPanelWidth);
    StatusBar1->addWidget(statusPanels_[0]);
    StatusBar1->addWidget(statusPanels_[1], 1);
    statusPanels_[0]->setText(vendor::kStatusText);
    auto* layout = new QVBoxLayout(Panel5);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(StatusBar1);
}

QString TfrmMain::statusPanelText(int panel) const { return statusPanels_[panel]->text(); }

void TfrmMain::setStatusPanelText(int panel, const QString& text) { statusPanels_[panel]->setText(text); }

void TfrmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_) return;
    shown_ = true;
    // Queued, so the window is painted before the start-up sequence may
    // show its messages; nothing the user does can run before it.
    QMetaObject::invokeMethod(this, [this] { FormShow(); }, Qt::QueuedConnection);
}

void TfrmMain::showMessage(const QString& text) { platform::showPlainMessage(prompts(), text); }

void TfrmMain::runCommand(const std::function<void()>& command) {
    platform::runGuarded(prompts(), command);
    refreshCommands();
}

void TfrmMain::FormShow() {
    // The start-up sequence runs once, whichever call comes first: a second
    // run would replace the wrappers that an open view or a running export
    // holds.
    if (started_) return;
    started_ = true;
    ExeFolder = context_.exeFolder;
    DominoEnvironment environment(platform::ComponentRuntime(context_.hivePath), prompts());
    if (!environment.RequireInstallation()) {
        refusedToStart_ = true;
        context_.quit();
        return;
    }
    exportFolders_ = {loadExportFolder(), &rememberExportFolder};
    // An error in the remaining steps is reported and ends the sequence; the
    // commands that need the wrappers then refuse to run.
    runCommand([this] { prepareDominoObjects(); });
}

void TfrmMain::prepareDominoObjects() {
    const LoginValues login = loadLoginValues(ExeFolder, context_.localHostName);
    ServerName = login.server;
    UserName = login.user;
    Password = login.password;

    DominoEnvironment environment(platform::ComponentRuntime(context_.hivePath), prompts());
    QString componentFolder;
    if (environment.IsNotesInstalled()) componentFolder = environment.GetNotesPath();
    if (environment.IsDominoInstalled()) componentFolder = environment.GetDominoPath();
    environment.CheckDominoObjectsRegistration(componentFolder);

    Session = std::make_unique<domino::TNotesSession>(platform::ComponentRuntime(context_.hivePath));
    CurrentDatabase = std::make_unique<domino::TNotesDatabase>();
}

void TfrmMain::exitsystemExecute() {
    const platform::MessageAnswer answer =
        prompts().message(QStringLiteral("您要退出Velloran么?"), QStringLiteral("确认"),
                          platform::MessageIcon::Question, platform::MessageButtons::OkCancel);
    if (answer == platform::MessageAnswer::Ok) context_.quit();
}

void TfrmMain::exportExecute() {
    // Only the view the list shows is exported; without one no dialog opens.
    if (CurrentViewName.isEmpty()) {
        showMessage(exporting::messages::kNothingToExport);
        return;
    }
    const QString logFolder =
        context_.logFolder.isEmpty() ? exporting::ExportLog::defaultFolder() : context_.logFolder;
    const exporting::ExportLog log(logFolder);
    std::atomic<bool> stop{false};
    const CancellableWait cancellable(stop);
    exporting::exportExecute({context_.hivePath, prompts(), *wait_, log, &stop}, *this, exportFolders_);
}

// Closing during an export asks whether to stop it (once); the window
// stays, and the export ends as its cancel button ends it.
void TfrmMain::closeEvent(QCloseEvent* event) {
    if (!cancellableWorkShown()) return QMainWindow::closeEvent(event);
    event->ignore();
    if (cancelRequested()) return;
    const platform::MessageAnswer answer =
        prompts().message(QStringLiteral("正在导出数据，是否停止导出？"), QStringLiteral("确认"),
                          platform::MessageIcon::Question, platform::MessageButtons::OkCancel);
    if (answer == platform::MessageAnswer::Ok) requestCancel();
}

void TfrmMain::aboutExecute() {
    TfrmAbout box(context_.openUrl, this);
    context_.runDialog(box);
}

void TfrmMain::inportdataExecute() { showMessage(QStringLiteral("对不起，该功能暂时尚未提供!")); }

void TfrmMain::Panel4MouseMove(int x, bool leftButtonDown) {
    // The tree panel keeps at least a sliver, and the list keeps room too.
    constexpr int kMinimumPanel = 8;
    const int maxWidth = centralWidget()->width() - Panel4->width() - kMinimumPanel;
    const SplitterStep step = splitterMove(Panel2->width(), SplitterX, x, leftButtonDown, kMinimumPanel, maxWidth);
    if (step.panelWidth != Panel2->width()) Panel2->setFixedWidth(step.panelWidth);
    SplitterX = step.splitterX;
}

}  // namespace velloran::app
