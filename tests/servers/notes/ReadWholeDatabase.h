#pragma once
// Opens a database file through a session and reads all of it: every view,
// every entry, every document's item names.
#include "component/SessionObject.h"

#include <exception>
#include <string>

namespace velloran::testing {

// The message shown for the first error met, or "no error".
std::string errorOfReadingAll(notes::component::SessionObject& session, const std::string& path);
// The same error's English original, with its technical detail.
std::string originalErrorOfReadingAll(notes::component::SessionObject& session, const std::string& path);

// An engine failure's English original; what() of any other exception.
std::string originalText(const std::exception& error);

}  // namespace velloran::testing
