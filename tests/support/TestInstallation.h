#pragma once
// A complete installation in a temporary folder for tests that run the real
// document-database engine: a hive recording a client and a server
// installation, a data folder, and the engine and the spreadsheet
// application registered from their built modules. The hive becomes the process's machine hive (VELLORAN_REGISTRY).
// Databases are made with the data tools' library code.
#include "TempDir.h"

#include <nlohmann/json.hpp>

#include <string>

namespace velloran::testing {

class TestInstallation {
public:
    static constexpr const char* kServerName = "TestServer/Velloran";

    TestInstallation();

    const std::string& hivePath() const { return hivePath_; }
    std::string dataFolder() const { return dir_.file("Domino/Data"); }
    std::string programFolder() const { return dir_.file("Domino"); }
    // A path inside the installation's folder.
    std::string file(const std::string& relative) const { return dir_.file(relative); }

    // Builds a database at `relative` (under the data folder) from a JSON
    // description in the data tools' format, and returns its full path.
    std::string buildDatabase(const std::string& relative, const nlohmann::json& description) const;
    // A database of `documents` generated documents in one view "All".
    std::string generateDatabase(const std::string& relative, int documents) const;
    // Adds a person to the directory names.nsf.
    void addPerson(const std::string& name, const std::string& password) const;

private:
    TempDir dir_;
    std::string hivePath_;
};

}  // namespace velloran::testing
