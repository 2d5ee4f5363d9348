#pragma once
// Thin RAII layer over the SQLite C API: one connection, prepared statements
// (cached per connection), and translation of every failure into an
// Failure that names the database file.
//
// Database files come from anywhere, so every connection treats the file's
// own SQL (its schema) as untrusted: defensive mode, no triggers or views,
// and a budget of virtual-machine steps per statement step, so that no file
// can make one call run without end.
#include "store/EngineError.h"

#include <cstdint>
#include <map>
#include <optional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace velloran::notes::store {

class Connection;
class ReadSnapshot;

// The error for a file whose design is not ours or whose content makes SQLite
// work without end.
Failure unusableDatabase(const std::string& path);

// A statement compiled once per connection and kept for the connection's
// life; Statement handles step it.
class PreparedStatement {
public:
    PreparedStatement(Connection& owner, std::string_view sql);
    ~PreparedStatement();
    PreparedStatement(const PreparedStatement&) = delete;
    PreparedStatement& operator=(const PreparedStatement&) = delete;

    Connection& owner() const { return owner_; }
    sqlite3_stmt* handle() const { return statement_; }

private:
    Connection& owner_;
    sqlite3_stmt* statement_ = nullptr;
};

// One use of a statement: binding, stepping and reading its rows. When the
// handle goes, the statement is reset and unbound, which ends its read and
// releases the file's lock, however the read ended (all rows, one row, or an
// exception), so no other program waits on a read that is over.
class Statement {
public:
    // A statement of its own, compiled now and finalised with the handle.
    Statement(Connection& owner, std::string_view sql);
    // A use of a cached statement (see Connection::cached).
    explicit Statement(PreparedStatement& prepared) : prepared_(&prepared) {}
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& bind(int index, std::int64_t value);
    Statement& bind(int index, double value);
    Statement& bind(int index, std::string_view text);
    Statement& bindBlob(int index, std::span<const std::uint8_t> bytes);
    Statement& bindNull(int index);

    // Advances to the next row; false when there is none.
    bool step();
    // Runs a statement that returns no rows.
    void run();

    std::int64_t integer(int column) const;
    double real(int column) const;
    std::string text(int column) const;
    std::span<const std::uint8_t> blob(int column) const;
    bool isNull(int column) const;

private:
    sqlite3_stmt* handle() const { return prepared_->handle(); }
    [[noreturn]] void fail(int resultCode, std::string_view doing) const;

    std::unique_ptr<PreparedStatement> owned_;
    PreparedStatement* prepared_;
};

class Connection {
public:
    // Immutable reads without locks and without creating -wal or -shm files
    // beside the database: for files that nothing changes while they are open.
    enum class Mode { ReadOnly, Immutable, ReadWrite, Create };
    // Opens the file; throws a Failure naming it when that fails.
    Connection(const std::string& path, Mode mode);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    const std::string& path() const { return path_; }
    sqlite3* handle() const { return db_; }

    void execute(const std::string& sql);
    // A use of the statement prepared once per connection for this text
    // (kept by the address of `sql`). The caller lets the handle go before
    // asking for the same text again.
    Statement cached(const char* sql);
    std::int64_t lastInsertId() const;
    // Turns an SQLite result code into a Failure that names the file.
    [[noreturn]] void fail(int resultCode, std::string_view doing) const;
    // Gives the next prepare, step or command the full work budget again;
    // the budget bounds each call, not the life of the connection.
    void startBoundedWork() { workDone_ = 0; }
    // The read transaction every holder shares: begun by the first holder,
    // ended when the last lets it go (see ReadSnapshot).
    std::shared_ptr<ReadSnapshot> holdSnapshot();
    // Throws when the file of an immutable connection is no longer the one
    // it opened: another program changed or replaced it, so what is read
    // from now on may mix two states. Locked connections need no check.
    void checkUnchanged() const;

    // What tells one state of a file from another: its place, size and times.
    struct FileState {
        std::uint64_t device = 0, inode = 0;
        std::int64_t size = 0, modified = 0, changed = 0;
        friend bool operator==(const FileState&, const FileState&) = default;
    };

private:
    void limitWork(Mode mode);
    static int countWork(void* connection);
    bool changedSinceOpen() const;

    std::string path_;
    sqlite3* db_ = nullptr;
    std::int64_t workBudget_ = 0;
    std::int64_t workDone_ = 0;
    std::map<const char*, std::unique_ptr<PreparedStatement>> statements_;
    std::weak_ptr<ReadSnapshot> snapshot_;
    // The file's state when an immutable connection opened it; nothing for
    // connections that read under SQLite's locks.
    std::optional<FileState> openedState_;
};

// One read transaction held across many statements, so that everything read
// on the connection while it lives comes from one committed state of the
// file. With a rollback journal it holds the shared lock: a writer waits for
// it to end, up to its busy timeout, and then fails with kLocked; with a
// write-ahead log writers go on and this reader keeps its state. Immutable
// connections have no locks: there checkUnchanged tells when the file
// changed. Joins a transaction already open on the connection without
// ending it.
class ReadSnapshot {
public:
    explicit ReadSnapshot(Connection& connection);
    ~ReadSnapshot();
    ReadSnapshot(const ReadSnapshot&) = delete;
    ReadSnapshot& operator=(const ReadSnapshot&) = delete;

    Connection& connection() const { return connection_; }

private:
    Connection& connection_;
    bool began_ = false;
};

// Commits on commit(); rolls back when left without commit.
class Transaction {
public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Connection& connection_;
    bool open_ = true;
};

}  // namespace velloran::notes::store
