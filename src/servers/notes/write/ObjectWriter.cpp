#include "write/ObjectWriter.h"

#include "store/Schema.h"

#include <algorithm>
#include <cstring>
#include <fstream>

namespace velloran::notes::write {

namespace {

// Hands out an object's bytes one chunk at a time.
class ChunkSource {
public:
    explicit ChunkSource(const ObjectInput& object) : object_(object) {
        if (object.source.kind == ObjectSource::Kind::File) {
            file_.open(object.source.file, std::ios::binary);
            if (!file_) throw engineFailure(msg::kCannotReadSource, {object.source.file, object.name});
        }
        if (object.source.kind == ObjectSource::Kind::Generated && object.source.size < 0)
            throw engineFailure(msg::kNegativeSize, {object.name});
    }

    // Fills `chunk`; false when the bytes are exhausted.
    bool next(std::vector<std::uint8_t>& chunk) {
        chunk.resize(store::kChunkSize);
        std::size_t got = fill(chunk);
        chunk.resize(got);
        offset_ += static_cast<std::int64_t>(got);
        return got > 0;
    }

private:
    std::size_t fill(std::vector<std::uint8_t>& chunk) {
        const ObjectSource& source = object_.source;
        switch (source.kind) {
        case ObjectSource::Kind::File: {
            file_.read(reinterpret_cast<char*>(chunk.data()), static_cast<std::streamsize>(chunk.size()));
            if (file_.bad()) throw engineFailure(msg::kSourceReadFailed, {source.file});
            return static_cast<std::size_t>(file_.gcount());
        }
        case ObjectSource::Kind::Bytes: {
            std::size_t left = source.bytes.size() - static_cast<std::size_t>(offset_);
            std::size_t count = std::min(left, chunk.size());
            std::memcpy(chunk.data(), source.bytes.data() + offset_, count);
            return count;
        }
        case ObjectSource::Kind::Generated: {
            std::size_t count = static_cast<std::size_t>(std::min<std::int64_t>(source.size - offset_, chunk.size()));
            for (std::size_t i = 0; i < count; ++i) chunk[i] = pattern(offset_ + static_cast<std::int64_t>(i));
            return count;
        }
        }
        return 0;
    }

    // Printable, deterministic filler that does not compress to nothing.
    static std::uint8_t pattern(std::int64_t at) {
        std::uint64_t x = static_cast<std::uint64_t>(at) * 0x9E3779B97F4A7C15ull;
        return static_cast<std::uint8_t>('a' + (x >> 59) % 26);
    }

    const ObjectInput& object_;
    std::ifstream file_;
    std::int64_t offset_ = 0;
};

}  // namespace

void storeObject(store::Connection& connection, const ObjectPlace& place, const ObjectInput& object) {
    store::Statement insert = connection.cached(
        "INSERT INTO objects (note_id, kind, item_seq, name, size) VALUES (?, ?, ?, ?, 0)");
    insert.bind(1, place.noteId).bind(2, std::int64_t{static_cast<int>(place.kind)}).bind(4, object.name);
    if (place.itemSeq >= 0) insert.bind(3, std::int64_t{place.itemSeq});
    insert.run();
    std::int64_t objectId = connection.lastInsertId();

    ChunkSource source(object);
    std::vector<std::uint8_t> chunk;
    std::int64_t size = 0;
    for (std::int64_t index = 0; source.next(chunk); ++index) {
        connection.cached("INSERT INTO object_chunks (object_id, chunk, data) VALUES (?, ?, ?)")
            .bind(1, objectId).bind(2, index).bindBlob(3, chunk).run();
        size += static_cast<std::int64_t>(chunk.size());
    }
    connection.cached("UPDATE objects SET size = ? WHERE object_id = ?").bind(1, size).bind(2, objectId).run();
}

}  // namespace velloran::notes::write
