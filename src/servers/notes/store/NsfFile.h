#pragma once
// Opening database files: read-only for browsing, read-write for the data
// tools. Either way the file is checked to be one of ours first.
#include "store/Sqlite.h"

#include <memory>
#include <string>

namespace velloran::notes::store {

// Throws a Failure for a missing, empty, foreign, newer or damaged file.
// Creates nothing beside the file but the -wal and -shm files a
// write-ahead-log database is read with (see readingMode).
std::unique_ptr<Connection> openForReading(const std::string& path);

// Opens an existing database for writing, or creates a new one when the
// file does not exist.
std::unique_ptr<Connection> openForWriting(const std::string& path);

// What decides how a database file is opened for reading.
struct ReadingSurroundings {
    bool readOnlyMedia = false;   // the file system holding it is mounted read-only
    bool folderWritable = true;   // files can be created beside the database
    bool walMode = false;         // the file is in write-ahead-log mode
    bool walFilesPresent = false; // its -wal and -shm files both exist
};

ReadingSurroundings readingSurroundings(const std::string& path);

// Immutable, without locks, only where nothing can change the file or a
// locked read cannot be had: on read-only media, and for a write-ahead-log
// database without its -wal and -shm files in a folder where they cannot be
// created (no process has it open, so nothing is pending; should one start
// writing, the connection's checkUnchanged tells). ReadOnly, with SQLite's
// locks, otherwise: a rollback-journal read needs no write access to the
// folder, and a file the reader cannot write may still change.
Connection::Mode readingMode(const ReadingSurroundings& surroundings);

}  // namespace velloran::notes::store
