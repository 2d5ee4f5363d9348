#include "store/NsfFile.h"

#include "store/Schema.h"

#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace velloran::notes::store {

namespace {

namespace fs = std::filesystem;

constexpr char kSqliteHeader[] = "SQLite format 3";

// Tells the kinds of unusable file apart before SQLite sees them, so each
// gets its own message.
void checkFileKind(const std::string& path) {
    std::error_code error;
    fs::file_status status = fs::status(path, error);
    if (!fs::exists(status)) throw EngineError("The database file " + path + " does not exist");
    if (fs::is_directory(status)) throw EngineError(path + " is a folder, not a database file");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw EngineError("The database file " + path + " cannot be read (permission denied?)");
    std::array<char, sizeof kSqliteHeader> header{};
    in.read(header.data(), header.size());
    if (in.gcount() == 0) throw EngineError("The file " + path + " is empty: it holds no database");
    if (std::memcmp(header.data(), kSqliteHeader, sizeof kSqliteHeader) != 0)
        throw EngineError("The file " + path + " is not a Velloran document database");
}

}  // namespace

std::unique_ptr<Connection> openForReading(const std::string& path) {
    checkFileKind(path);
    auto connection = std::make_unique<Connection>(path, Connection::Mode::ReadOnly);
    checkSchema(*connection);
    return connection;
}

std::unique_ptr<Connection> openForWriting(const std::string& path) {
    if (!fs::exists(path)) {
        auto connection = std::make_unique<Connection>(path, Connection::Mode::Create);
        createSchema(*connection);
        return connection;
    }
    checkFileKind(path);
    auto connection = std::make_unique<Connection>(path, Connection::Mode::ReadWrite);
    checkSchema(*connection);
    return connection;
}

}  // namespace velloran::notes::store
