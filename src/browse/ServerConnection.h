#pragma once
// "连接服务器": asks for the server, user name and password, logs in, saves
// the login values and fills the tree with the data folder's databases under
// the server's name.
#include "BrowseContext.h"
#include "ServerDialog.h"

namespace velloran::browse {

class DatabaseTree;

struct ServerConnectionHooks {
    // The data folder as environment detection reports it.
    std::function<QString()> dataPath;
    // Writes the login values to the settings file.
    std::function<void()> saveSettings;
    DialogRunner runDialog = runModal;
};

class ServerConnection {
public:
    ServerConnection(BrowseContext context, DatabaseTree& tree, ServerConnectionHooks hooks);

    void openserverExecute();
    void ConnectServer();

private:
    // Logs in and checks the server; throws with the reason when either fails.
    void logIn();

    BrowseContext c_;
    DatabaseTree& tree_;
    ServerConnectionHooks hooks_;
};

}  // namespace velloran::browse
