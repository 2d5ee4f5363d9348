#include "store/ObjectFile.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace velloran::notes::store {

namespace {

[[noreturn]] void cannotWrite(const std::string& target, int error) {
    throw EngineError("Cannot write the file " + target + ": " + std::strerror(error));
}

// The temporary file beside the target; removed unless kept.
class PartFile {
public:
    explicit PartFile(const std::string& target) : target_(target), path_(target + ".part-XXXXXX") {
        fd_ = ::mkstemp(path_.data());
        if (fd_ < 0) cannotWrite(target_, errno);
    }
    ~PartFile() {
        if (fd_ >= 0) ::close(fd_);
        if (!kept_) ::unlink(path_.c_str());
    }
    PartFile(const PartFile&) = delete;
    PartFile& operator=(const PartFile&) = delete;

    void write(const std::uint8_t* data, std::size_t size) {
        while (size > 0) {
            ssize_t written = ::write(fd_, data, size);
            if (written < 0 && errno == EINTR) continue;
            if (written <= 0) cannotWrite(target_, errno);
            data += written;
            size -= static_cast<std::size_t>(written);
        }
    }
    void keep() {
        // mkstemp makes the file private; give it the usual permissions.
        mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd_, 0666 & ~mask);
        if (::close(fd_) != 0) cannotWrite(target_, errno);
        fd_ = -1;
        if (::rename(path_.c_str(), target_.c_str()) != 0) cannotWrite(target_, errno);
        kept_ = true;
    }

private:
    std::string target_;
    std::string path_;
    int fd_ = -1;
    bool kept_ = false;
};

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

}  // namespace

void extractObject(Connection& connection, const StoredObject& object, const std::string& target) {
    PartFile part(target);
    ChunkReader reader(connection);
    std::vector<std::uint8_t> buffer;
    std::int64_t total = 0;
    Statement& chunks = connection.cached("SELECT chunk_id FROM object_chunks WHERE object_id = ? ORDER BY chunk");
    chunks.bind(1, object.objectId);
    while (chunks.step()) {
        int size = reader.open(chunks.integer(0));
        buffer.resize(static_cast<std::size_t>(size));
        reader.read(buffer.data(), size, 0);
        part.write(buffer.data(), buffer.size());
        total += size;
    }
    if (total != object.size)
        throw EngineError("The attachment " + object.name + " in " + connection.path() +
                          " is damaged: its stored size does not match its bytes");
    part.keep();
}

}  // namespace velloran::notes::store
