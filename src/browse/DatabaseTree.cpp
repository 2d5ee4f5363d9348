#include "DatabaseTree.h"

#include "DocumentList.h"
#include "ListView.h"
#include "files/FileLock.h"
#include "text/Trim.h"
#include "ui/PlainMessage.h"

#include <QDir>
#include <QFileInfo>
#include <QTreeWidget>

namespace velloran::browse {

namespace {

const QString kNsfSuffix = QStringLiteral(".NSF");

int levelOf(const QTreeWidgetItem* node) {
    int level = 0;
    for (const QTreeWidgetItem* up = node->parent(); up; up = up->parent()) ++level;
    return level;
}

bool endsWithNsf(const QString& text) { return text.right(4).toUpper() == kNsfSuffix; }

bool looksLikeDatabaseFile(const QString& name) {
    return !name.startsWith(QLatin1Char('.')) && name.right(3).toUpper() == QLatin1String("NSF");
}

}  // namespace

DatabaseTree::DatabaseTree(BrowseContext context, DocumentList& documents)
    : c_(std::move(context)), documents_(documents) {}

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
    QSet<QString> visited;
    beginBatch();
    try {
        scanEntries(folder, parent, visited);
    } catch (...) {
        endBatch();
        throw;
    }
    endBatch();
}

void DatabaseTree::scanEntries(const QString& folder, QTreeWidgetItem* parent, QSet<QString>& visited) {
    // A folder reached again through a link is listed but not entered twice,
    // so a link to an enclosing folder cannot make the scan endless.
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (canonical.isEmpty() || visited.contains(canonical)) return;
    visited.insert(canonical);
    const QFileInfoList entries = QDir(folder).entryInfoList(
        QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& entry : entries) {
        const QString name = entry.fileName();
        if (entry.isDir() && !name.startsWith(QLatin1Char('.'))) {
            scanEntries(entry.filePath(), addNode(parent, name, kFolderIcon), visited);
        } else if (!entry.isDir() && looksLikeDatabaseFile(name)) {
            addNode(parent, name, kDatabaseIcon);
        }
    }
}

QString DatabaseTree::GetNodePath(const QTreeWidgetItem* node) {
    QString path;
    for (; node && node->parent(); node = node->parent())
        path = node->childCount() > 0 ? node->text(0) + QLatin1Char('\\') + path : node->text(0);
    return path;
}

void DatabaseTree::openfileExecute() {
    const QString file = c_.prompts.openFileName(QStringLiteral("NSF文件|*.nsf"));
    if (file.isEmpty()) return;
    if (platform::isFileLocked(file.toStdString())) {
        platform::showPlainMessage(c_.prompts,
                                   QStringLiteral("文件") + file + QStringLiteral("正在被其它程序锁定，无法打开!"));
        return;
    }
    domino::TNotesDatabase database;
    domino::TNotesSession& session = c_.state.requireSession();
    session.Disconnect();
    session.Initialize(QString());
    database.ConnectTo(session.GetDatabase(QString(), file));
    c_.state.DatabasePath = file;
    const QStringList views = database.Views();
    c_.tree.clear();
    c_.state.TreeMode = domino::BrowseState::kTreeFile;
    QTreeWidgetItem* root = addNode(nullptr, file, kDatabaseIcon);
    for (const QString& name : views)
        if (isShownViewName(name)) addNode(root, platform::trimControl(name), kViewIcon);
    c_.list.clearItems();
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
    c_.list.setStyle(ListView::Style::Icon);
    c_.list.clearItems();
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
    database.ConnectTo(c_.state.requireSession().GetDatabase(QString(), node->parent()->text(0)));
    openView(database, node->text(0));
}

void DatabaseTree::openView(domino::TNotesDatabase& database, const QString& viewName) {
    c_.state.ReadPosition = 0;
    c_.state.requireCurrentDatabase().ConnectTo(database.DefaultInterface());
    c_.state.CurrentViewName = viewName;
    documents_.LoadViewPage(database, viewName);
}

}  // namespace velloran::browse
