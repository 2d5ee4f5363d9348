#include "store/ObjectFile.h"

#include "files/StagedFile.h"

#include <sqlite3.h>

#include <vector>

namespace velloran::notes::store {

namespace {

class ChunkReader {
public:
    explicit ChunkReader(Connection& connection) : connection_(connection) {}
    ~ChunkReader() { sqlite3_blob_close(blob_); }
    ChunkReader(const ChunkReader&) = delete;
    ChunkReader& operator=(const ChunkReader&) = delete;

    // Opens chunk `chunkId` and returns its size.
    int open(std::int64_t chunkId) {
        int rc = blob_ ? sqlite3_blob_reopen(blob_, chunkId)
                       : sqlite3_blob_open(connection_.handle(), "main", "object_chunks", "data", chunkId, 0, &blob_);
        if (rc != SQLITE_OK) connection_.fail(rc, "reading an attachment");
        return sqlite3_blob_bytes(blob_);
    }
    void read(std::uint8_t* into, int size, int offset) {
        int rc = sqlite3_blob_read(blob_, into, size, offset);
        if (rc != SQLITE_OK) connection_.fail(rc, "reading an attachment");
    }

private:
    Connection& connection_;
    sqlite3_blob* blob_ = nullptr;
};

void copyObject(Connection& connection, const StoredObject& object, platform::StagedFile& file) {
    ChunkReader reader(connection);
    std::vector<std::uint8_t> buffer;
    std::int64_t total = 0;
    Statement chunks = connection.cached("SELECT chunk_id FROM object_chunks WHERE object_id = ? ORDER BY chunk");
    chunks.bind(1, object.objectId);
    while (chunks.step()) {
        int size = reader.open(chunks.integer(0));
        buffer.resize(static_cast<std::size_t>(size));
        reader.read(buffer.data(), size, 0);
        file.write(buffer.data(), buffer.size());
        total += size;
    }
    if (total != object.size)
        throw engineFailure(msg::kDamagedAttachment, {object.name, connection.path()});
}

}  // namespace

void extractObject(Connection& connection, const StoredObject& object, const std::string& target) {
    try {
        platform::StagedFile file(target);
        copyObject(connection, object, file);
        // A saved attachment is a copy that can be made again: it is not
        // flushed to disk one by one, which would slow a large export down.
        file.commit(platform::SyncToDisk::No);
    } catch (const Failure& e) {
        if (!e.is(Failure::Kind::File)) throw;
        throw engineFailure(Failure::Kind::Database, msg::kCannotSave, {target, e.original()}, e.error());
    }
}

}  // namespace velloran::notes::store
