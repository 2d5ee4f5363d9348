#pragma once
// Copies a stored attachment or embedded object to a file, a chunk at a
// time, so memory stays small whatever the object's size.
#include "store/Records.h"
#include "store/Sqlite.h"

#include <string>

namespace velloran::notes::store {

// Writes the object's bytes to a hidden temporary file in the folder of
// `target`, then renames it over `target`; on failure nothing is left behind
// and an existing `target` is untouched. Throws a Failure naming `target`
// and the system's reason when it cannot be written, and naming the database
// when the stored bytes are damaged.
void extractObject(Connection& connection, const StoredObject& object, const std::string& target);

}  // namespace velloran::notes::store
