#include "DatabaseTree.h"

#include "DocumentList.h"
#include "ListView.h"
#include "files/DataFolder.h"
#include "files/FileLock.h"
#include "text/Trim.h"
#include "ui/PlainMessage.h"

#include <QFileInfo>
#include <QTreeWidget>

namespace velloran::browse {

namespace {

const QString kNsfSuffix = QStringLiteral(".NSF");
const QString kOpenFileFilter = QStringLiteral("NSF文件|*.nsf|所有文件|*");
// The full path of the database file a file-mode root stands for.
constexpr int kPathRole = Qt::UserRole + 1;

int levelOf(const QTreeWidgetItem* node) {
    int level = 0;
    for (const QTreeWidgetItem* up = node->parent(); up; up = up->parent()) ++level;
    return level;
}

bool endsWithNsf(const QString& text) { return text.right(4).toUpper() == kNsfSuffix; }

}  // namespace

DatabaseTree::DatabaseTree(BrowseContext context, DocumentList& documents, std::function<QString()> dataFolder)
    : c_(std::move(context)), documents_(documents), dataFolder_(std::move(dataFolder)) {}

bool DatabaseTree::isShownViewName(const QString& name) {
    return !platform::trimControl(name).isEmpty() && !name.contains(QLatin1Char('$'));
}

QTreeWidgetItem* DatabaseTree::addNode(QTreeWidgetItem* parent, const QString& text, NodeIcon icon) {
    auto* node = parent ? new QTreeWidgetItem(parent, QStringList{text}) : new QTreeWidgetItem(&c_.tree, QStringList{text});
    node->setData(0, Qt::UserRole, static_cast<int>(icon));
    node->setIcon(0, c_.list.image(icon));
    return node;
}

void DatabaseTree::beginBatch() {
    if (batchDepth_++ == 0) c_.tree.setUpdatesEnabled(false);
}

void DatabaseTree::endBatch() {
    if (--batchDepth_ > 0) return;
    c_.tree.setUpdatesEnabled(true);
    ++scanRepaints_;
}

void DatabaseTree::ScanFolder(const QString& folder, QTreeWidgetItem* parent) {
    const std::vector<platform::DataFolderEntry> entries = platform::scanDataFolder(folder);
    beginBatch();
    addEntries(entries, parent);
    endBatch();
}

void DatabaseTree::addEntries(const std::vector<platform::DataFolderEntry>& entries, QTreeWidgetItem* parent) {
    for (const platform::DataFolderEntry& entry : entries) {
        QTreeWidgetItem* node = addNode(parent, entry.name, entry.folder ? kFolderIcon : kDatabaseIcon);
        if (entry.folder) addEntries(entry.entries, node);
    }
}

QString DatabaseTree::GetNodePath(const QTreeWidgetItem* node) {
    QString path;
    for (; node && node->parent(); node = node->parent())
        path = node->childCount() > 0 ? node->text(0) + QLatin1Char('\\') + path : node->text(0);
    return path;
}

QString DatabaseTree::openDialogFolder() const {
    if (!lastOpenFolder_.isEmpty()) return lastOpenFolder_;
    const QString data = dataFolder_ ? dataFolder_() : QString();
    return QFileInfo(data).isDir() ? data : QString();
}

void DatabaseTree::openfileExecute() {
    const QString file = c_.prompts.openFileName(kOpenFileFilter, openDialogFolder());
    if (file.isEmpty()) return;
    lastOpenFolder_ = QFileInfo(file).absolutePath();
    if (platform::isFileLocked(file.toStdString())) {
        platform::showPlainMessage(c_.prompts,
                                   QStringLiteral("文件") + file + QStringLiteral("正在被其它程序锁定，无法打开!"));
        return;
    }
    // The session is about to change: the tree and list came through it, and
    // a file that cannot be opened must not leave them behind.
    clearAll();
    domino::TNotesDatabase database;
    domino::TNotesSession& session = c_.state.requireSession();
    session.Disconnect();
    session.Initialize(QString());
    database.ConnectTo(session.GetDatabase(QString(), file));
    c_.state.DatabasePath = file;
    const QStringList views = database.Views();
    c_.tree.clear();
    c_.state.TreeMode = domino::BrowseState::kTreeFile;
    QTreeWidgetItem* root = addNode(nullptr, QFileInfo(file).fileName(), kDatabaseIcon);
    root->setToolTip(0, file);
    root->setData(0, kPathRole, file);
    for (const QString& name : views)
        if (isShownViewName(name)) addNode(root, platform::trimControl(name), kViewIcon);
}

void DatabaseTree::clearAll() {
    documents_.clearShownView();
    c_.tree.clear();
    c_.state.DatabasePath.clear();
}

void DatabaseTree::openListedView(const QString& viewName) {
    QTreeWidgetItem* database = c_.tree.currentItem();
    for (int i = 0; database && i < database->childCount(); ++i) {
        QTreeWidgetItem* view = database->child(i);
        if (view->childCount() > 0 || view->text(0) != viewName) continue;
        c_.tree.setCurrentItem(view);
        TreeView1Click();
        return;
    }
}

void DatabaseTree::TreeView1Click() {
    QTreeWidgetItem* node = c_.tree.currentItem();
    if (c_.tree.topLevelItemCount() == 0 || !node) return;
    c_.state.ViewDocumentCount = 0;
    if (node->childCount() > 0) return;
    const int level = levelOf(node);
    if (level == 0) return;
    if (c_.state.TreeMode == domino::BrowseState::kTreeServer) {
        if (endsWithNsf(node->text(0)))
            listServerDatabaseViews(node);
        else if (endsWithNsf(node->parent()->text(0)))
            openServerView(node);
        return;
    }
    openFileView(node);
}

void DatabaseTree::listServerDatabaseViews(QTreeWidgetItem* node) {
    const QString path = GetNodePath(node);
    domino::TNotesDatabase database;
    try {
        database.ConnectTo(c_.state.requireSession().GetDatabase(c_.state.ServerName, path));
        database.DefaultInterface();
    } catch (const std::exception& e) {
        platform::showPlainMessage(c_.prompts, QStringLiteral("访问数据库出错：") + platform::failureText(e));
        return;
    }
    c_.state.DatabasePath = path;
    const QStringList views = database.Views();
    // The list now shows the database's views: no document page is left.
    documents_.clearShownView();
    c_.list.setStyle(ListView::Style::Icon);
    for (const QString& name : views) {
        if (!isShownViewName(name)) continue;
        addNode(node, name, kViewIcon);
        c_.list.addItem(name, {}, kViewIcon);
    }
    node->setExpanded(true);
}

void DatabaseTree::openServerView(QTreeWidgetItem* node) {
    QString path = GetNodePath(node->parent());
    if (path.endsWith(QLatin1Char('\\'))) path.chop(1);
    domino::TNotesDatabase database;
    database.ConnectTo(c_.state.requireSession().GetDatabase(c_.state.ServerName, path));
    c_.state.DatabasePath = path;
    openView(database, node->text(0));
}

void DatabaseTree::openFileView(QTreeWidgetItem* node) {
    domino::TNotesDatabase database;
    database.ConnectTo(c_.state.requireSession().GetDatabase(QString(), node->parent()->data(0, kPathRole).toString()));
    openView(database, node->text(0));
}

void DatabaseTree::openView(domino::TNotesDatabase& database, const QString& viewName) {
    c_.state.ReadPosition = 0;
    c_.state.requireCurrentDatabase().ConnectTo(database.DefaultInterface());
    c_.state.CurrentViewName = viewName;
    documents_.LoadViewPage(database, viewName);
}

}  // namespace velloran::browse
