#pragma once
// The database tree: in server mode the data folder's folders and databases
// under the server's name, with the views of each database once clicked; in
// file mode one database file and its views. A click on a view hands it to
// the document list.
#include "BrowseContext.h"

#include <QSet>
#include <QString>

class QTreeWidgetItem;

namespace velloran::browse {

class DocumentList;

// Icon indexes of the tree's nodes and the list's items.
enum NodeIcon { kServerIcon = 0, kFolderIcon = 1, kDatabaseIcon = 2, kViewIcon = 3 };

class DatabaseTree {
public:
    // `dataFolder` gives the data folder, where "打开文件" first looks.
    DatabaseTree(BrowseContext context, DocumentList& documents, std::function<QString()> dataFolder = {});

    // Adds the folder's sub-folders and database files below `parent`,
    // recursively, repainting the tree once at the end.
    void ScanFolder(const QString& folder, QTreeWidgetItem* parent);
    // The database path of a node: the names from the first level below the
    // root down to the node, joined by "\"; a node with children ends in "\".
    static QString GetNodePath(const QTreeWidgetItem* node);
    // "打开文件": opens a standalone database file and lists its views. The
    // dialog starts in the folder of the file chosen last, else in the data
    // folder. The root shows the file's name, its full path as tooltip.
    void openfileExecute();
    // Empties the tree and the list and forgets the database and view.
    void clearAll();
    // Opens the view of that name below the current node, as a click on it
    // does: the double click on a view in the icon list.
    void openListedView(const QString& viewName);
    // Acts on the selected node after a click in the tree.
    void TreeView1Click();

    QTreeWidgetItem* addNode(QTreeWidgetItem* parent, const QString& text, NodeIcon icon);
    // How many times the tree has been repainted after a scan.
    int scanRepaints() const { return scanRepaints_; }

    static bool isShownViewName(const QString& name);

private:
    QString openDialogFolder() const;
    void scanEntries(const QString& folder, QTreeWidgetItem* parent, QSet<QString>& visited);
    void beginBatch();
    void endBatch();
    void listServerDatabaseViews(QTreeWidgetItem* node);
    void openServerView(QTreeWidgetItem* node);
    void openFileView(QTreeWidgetItem* node);
    void openView(domino::TNotesDatabase& database, const QString& viewName);

    BrowseContext c_;
    DocumentList& documents_;
    std::function<QString()> dataFolder_;
    QString lastOpenFolder_;
    int batchDepth_ = 0;
    int scanRepaints_ = 0;
};

}  // namespace velloran::browse
