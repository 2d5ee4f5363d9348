#pragma once
// Builds a database (or adds to one) from a JSON description; the format is
// described in docs/json-format.md and in velloran-nsf-build --help.
#include "write/ViewIndexer.h"

#include <nlohmann/json.hpp>

#include <string>

namespace velloran::tools {

// Reads the JSON file and writes everything it describes into `databasePath`
// in one transaction. Attachment files are found relative to the JSON file.
// Errors name the JSON path at fault, e.g. "documents[3].items[1].type".
// Returns what the views could not take from single documents.
notes::write::ViewIndexReport buildFromJsonFile(const std::string& jsonPath, const std::string& databasePath);

// The same for a JSON value already read; `baseFolder` resolves file names.
notes::write::ViewIndexReport buildFromJson(const nlohmann::json& description, const std::string& baseFolder,
                                            const std::string& databasePath);

}  // namespace velloran::tools
