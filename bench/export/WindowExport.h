#pragma once
// The whole export as a person runs it: the main window (offscreen) over
// the hive, the database opened and the view clicked in the tree, then the
// export command with the save dialog and the start prompt answered by
// script.
#include <QString>
#include <QStringList>

#include <string>

namespace velloran::bench {

struct WindowExportRequest {
    std::string hivePath;
    QString database;
    QString viewName;
    // The name typed into the save dialog.
    QString workbook;
    QString exeFolder;
    QString logFolder;
};

struct WindowExportResult {
    int documents = 0;
    // The export command alone, from the save dialog to its last message.
    double seconds = 0;
    // The messages the command showed, in order.
    QStringList messages;
    bool completed = false;
};

// Throws when the database cannot be opened or the tree shows no such view.
WindowExportResult exportThroughWindow(const WindowExportRequest& request);

}  // namespace velloran::bench
