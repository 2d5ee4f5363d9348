#include "store/NsfFile.h"

#include "store/Schema.h"

#include <sys/statvfs.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string_view>

namespace velloran::notes::store {

namespace {

namespace fs = std::filesystem;

// The first 16 bytes of every SQLite database, terminating zero included.
constexpr std::string_view kSqliteHeader{"SQLite format 3", 16};
// Byte 19 of the header is 2 when the database is in write-ahead-log mode.
constexpr std::size_t kReadVersionAt = 19;
constexpr std::size_t kHeaderBytes = kReadVersionAt + 1;

// The first kHeaderBytes of the file, fewer when it is shorter.
std::string headerOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw engineFailure(msg::kCannotRead, {path});
    std::string header(kHeaderBytes, '\0');
    in.read(header.data(), static_cast<std::streamsize>(header.size()));
    header.resize(static_cast<std::size_t>(in.gcount()));
    return header;
}

// Tells the kinds of unusable file apart before SQLite sees them, so each
// gets its own message.
void checkFileKind(const std::string& path) {
    std::error_code error;
    fs::file_status status = fs::status(path, error);
    if (!fs::exists(status)) throw engineFailure(msg::kFileMissing, {path});
    if (fs::is_directory(status)) throw engineFailure(msg::kIsFolder, {path});
    std::string header = headerOf(path);
    if (header.empty()) throw engineFailure(msg::kEmptyFile, {path});
    if (!header.starts_with(kSqliteHeader))
        throw engineFailure(msg::kForeignFile, {path});
}

}  // namespace

ReadingSurroundings readingSurroundings(const std::string& path) {
    struct statvfs media {};
    fs::path folder = fs::path(path).parent_path();
    std::string header = headerOf(path);
    return {::statvfs(path.c_str(), &media) == 0 && (media.f_flag & ST_RDONLY) != 0,
            ::access(folder.empty() ? "." : folder.c_str(), W_OK) == 0,
            header.size() > kReadVersionAt && header[kReadVersionAt] == 2,
            fs::exists(path + "-wal") && fs::exists(path + "-shm")};
}

Connection::Mode readingMode(const ReadingSurroundings& surroundings) {
    bool filesMissing = surroundings.walMode && !surroundings.walFilesPresent && !surroundings.folderWritable;
    return surroundings.readOnlyMedia || filesMissing ? Connection::Mode::Immutable
                                                            : Connection::Mode::ReadOnly;
}

std::unique_ptr<Connection> openForReading(const std::string& path) {
    checkFileKind(path);
    auto connection = std::make_unique<Connection>(path, readingMode(readingSurroundings(path)));
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
