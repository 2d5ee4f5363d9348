#pragma once
// The sample databases of the demo installation, generated from code so
// they are the same on every run.
#include <string>

namespace velloran::tools {

// Writes the sample databases, folders and directory into `dataFolder`.
void writeDemoDatabases(const std::string& dataFolder);

}  // namespace velloran::tools
