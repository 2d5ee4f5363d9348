#pragma once
// What the main window is given from outside: where it runs from, which
// registry hive it reads, how it asks the user, and how it names this host.
// The program fills it from the real machine; tests from a temporary one.
#include "ServerDialog.h"
#include "ui/Prompts.h"

#include <QString>
#include <QUrl>

#include <functional>
#include <string>

namespace velloran::app {

struct AppContext {
    QString exeFolder;  // ends with "/"
    std::string hivePath;
    platform::Prompts* prompts = nullptr;
    std::function<QString()> localHostName;
    // Ends the program once the event loop runs.
    std::function<void()> quit;
    // Shows the modal dialogs (connection, details, about); tests answer them.
    browse::DialogRunner runDialog = browse::runModal;
    // Where the export's daily logs go; empty: the user's standard folder.
    QString logFolder;
    // Opens a web address in the system's browser.
    std::function<void(const QUrl&)> openUrl;
};

}  // namespace velloran::app
