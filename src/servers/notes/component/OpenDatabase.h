#pragma once
// One open database file, shared by every object reached from it.
#include "store/NoteStore.h"
#include "store/NsfFile.h"
#include "store/ViewStore.h"

#include <memory>

namespace velloran::notes::component {

struct OpenDatabase {
    explicit OpenDatabase(std::unique_ptr<store::Connection> opened)
        : connection(std::move(opened)), notes(*connection), views(*connection) {}

    std::unique_ptr<store::Connection> connection;
    store::NoteStore notes;
    store::ViewStore views;
};

using OpenDatabasePtr = std::shared_ptr<OpenDatabase>;

}  // namespace velloran::notes::component
