#pragma once
// Which files of a data folder are databases: one scan, shown by the
// window's tree and listed by the batch tool's --list.
//
// A database file is a regular file whose name ends in ".nsf" (any letter
// case) and does not start with ".". A name that merely ends in "nsf"
// ("archivensf") is no database: the tree would list it but could not open
// it. Names starting with "." (hidden files, the engine's temporary files)
// are left out, and so is anything that is neither a folder nor a regular
// file. A link is followed only when its target lies inside the data
// folder: the engine opens no database outside it, so a link out would
// list what cannot be opened. A folder reached again through a link is
// not entered twice.
#include <QString>
#include <QStringList>

#include <vector>

namespace velloran::platform {

// A sub-folder with its entries, or a database file.
struct DataFolderEntry {
    QString name;
    bool folder = false;
    // A folder's sub-folders and database files, in name order.
    std::vector<DataFolderEntry> entries;
};

bool isDatabaseFileName(const QString& name);

// The sub-folders (every one, also those without a database) and database
// files of `folder`, recursively, sorted by name with letter case ignored;
// nothing when it is no readable folder.
std::vector<DataFolderEntry> scanDataFolder(const QString& folder);

// The database files of the scan as paths relative to `folder`, "\"
// between the parts, in the scan's order.
QStringList databasePathsUnder(const QString& folder);

}  // namespace velloran::platform
