#include "ServerConnection.h"

#include "DatabaseTree.h"
#include "ListView.h"
#include "ui/PlainMessage.h"

#include <QTreeWidget>

namespace velloran::browse {

ServerConnection::ServerConnection(BrowseContext context, DatabaseTree& tree, ServerConnectionHooks hooks)
    : c_(std::move(context)), tree_(tree), hooks_(std::move(hooks)) {}

void ServerConnection::openserverExecute() {
    Tfrmselserver dialog(c_.state, c_.prompts, c_.tree.window());
    hooks_.runDialog(dialog);
    // Cancelling leaves the tree, and what its clicks open, as they were.
    if (dialog.Cancelled) return;
    c_.state.TreeMode = domino::BrowseState::kTreeServer;
    c_.wait.ShowWaitMsg(QStringLiteral("正在连接Domino服务器"));
    c_.wait.SetWaitProgress(100, 10);
    try {
        c_.state.requireSession().Disconnect();
        tree_.clearAll();
        ConnectServer();
    } catch (...) {
        // Whatever ends the connection, the wait window does not outlive it.
        c_.wait.CloseWait();
        throw;
    }
}

void ServerConnection::ConnectServer() {
    try {
        logIn();
    } catch (const std::exception& e) {
        // The component's message says why (and its diagnostics the detail).
        c_.wait.CloseWait();
        platform::showPlainMessage(c_.prompts, QStringLiteral("连接服务器失败!\n") + platform::failureText(e));
        return;
    }
    hooks_.saveSettings();
    c_.state.DataPath = hooks_.dataPath();
    QTreeWidgetItem* root = tree_.addNode(nullptr, c_.state.ServerName + "(" + c_.state.DataPath + ")", kServerIcon);
    root->setToolTip(0, root->text(0));
    tree_.ScanFolder(c_.state.DataPath, root);
    c_.wait.CloseWait();
}

void ServerConnection::logIn() {
    domino::TNotesSession& session = c_.state.requireSession();
    session.InitializeUsingNotesUserName(c_.state.UserName, c_.state.Password);
    // Opening the server's user directory checks that the server is this
    // one and that it lets the user in.
    try {
        domino::TNotesDatabase directory;
        directory.ConnectTo(session.GetDatabase(c_.state.ServerName, QStringLiteral("names.nsf")));
    } catch (...) {
        session.Disconnect();
        throw;
    }
}

}  // namespace velloran::browse
