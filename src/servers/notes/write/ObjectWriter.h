#pragma once
// Stores an attachment's or embedded object's bytes in chunks.
#include "store/Records.h"
#include "store/Sqlite.h"
#include "write/Inputs.h"

namespace velloran::notes::write {

struct ObjectPlace {
    std::int64_t noteId = 0;
    store::ObjectKind kind = store::ObjectKind::Attachment;
    int itemSeq = -1;  // the rich-text item of an embedded object
};

// Throws a Failure naming the source file when it cannot be read.
void storeObject(store::Connection& connection, const ObjectPlace& place, const ObjectInput& object);

}  // namespace velloran::notes::write
