#pragma once
// Opens a database file through a session and reads all of it: every view,
// every entry, every document's item names.
#include "component/SessionObject.h"

#include <string>

namespace velloran::testing {

// The message of the first error met, or "no error".
std::string errorOfReadingAll(notes::component::SessionObject& session, const std::string& path);

}  // namespace velloran::testing
