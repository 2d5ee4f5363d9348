#pragma once
// Floor 1: the engine work that no export can do without. The documents of
// a view walked from first to last through the program's wrappers, with
// the calls the export makes for each document and for each item of the
// first document, and every attachment extracted into a scratch folder.
#include "CellTexts.h"

#include "DominoWrappers.h"

#include <QStringList>

#include <string>

namespace velloran::bench {

struct EngineWalk {
    // The items of the first document: the workbook's columns.
    QStringList headerNames;
    // For every document its universal ID, then the text of each header item.
    CellTexts cells;
    qint64 documents = 0;
    qint64 attachments = 0;
};

class EngineFloor {
public:
    // Opens the local database as the window does before an export.
    EngineFloor(const std::string& hivePath, const QString& databasePath);

    // Walks the view; attachments go to `scratchFolder` (ending in "/"),
    // one folder per universal ID.
    EngineWalk walk(const QString& viewName, const QString& scratchFolder);

private:
    void readDocument(domino::TNotesDocument& document, const QString& scratchFolder, EngineWalk& walk);
    qint64 extractAttachments(domino::TNotesDocument& document, const QString& folder);

    domino::TNotesSession session_;
    domino::TNotesDatabase database_;
};

}  // namespace velloran::bench
