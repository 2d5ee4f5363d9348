#pragma once
// One open database file, shared by every object reached from it.
#include "store/NoteStore.h"
#include "store/NsfFile.h"
#include "store/ViewStore.h"

#include <memory>

namespace velloran::notes::component {

struct OpenDatabase {
    // `isDirectory`: the file is the installation's user directory.
    OpenDatabase(std::unique_ptr<store::Connection> opened, bool isDirectory)
        : connection(std::move(opened)), notes(*connection), views(*connection), isDirectory(isDirectory) {}

    std::unique_ptr<store::Connection> connection;
    store::NoteStore notes;
    store::ViewStore views;
    // Its documents then never show their password items (see VisibleNote).
    bool isDirectory;
};

using OpenDatabasePtr = std::shared_ptr<OpenDatabase>;

}  // namespace velloran::notes::component
