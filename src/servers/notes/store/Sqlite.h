#pragma once
// Thin RAII layer over the SQLite C API: one connection, prepared statements
// (cached per connection), and translation of every failure into an
// EngineError that names the database file.
//
// Database files come from anywhere, so every connection treats the file's
// own SQL (its schema) as untrusted: defensive mode, no triggers or views,
// and a budget of virtual-machine steps per statement step, so that no file
// can make one call run without end.
#include "store/EngineError.h"

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace velloran::notes::store {

class Connection;

// The error for a file whose design is not ours or whose content makes SQLite
// work without end: "数据库文件已损坏或不是本系统的数据库: <path>".
EngineError unusableDatabase(const std::string& path);

class Statement {
public:
    Statement(Connection& owner, std::string_view sql);
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
    // Clears the row position and all bindings, ready for new values.
    void reset();

    std::int64_t integer(int column) const;
    double real(int column) const;
    std::string text(int column) const;
    std::span<const std::uint8_t> blob(int column) const;
    bool isNull(int column) const;

private:
    Connection& owner_;
    sqlite3_stmt* statement_ = nullptr;
};

class Connection {
public:
    // Immutable reads without locks and without creating -wal or -shm files
    // beside the database: for files that nothing changes while they are open.
    enum class Mode { ReadOnly, Immutable, ReadWrite, Create };
    // Opens the file; throws EngineError naming it when that fails.
    Connection(const std::string& path, Mode mode);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    const std::string& path() const { return path_; }
    sqlite3* handle() const { return db_; }

    void execute(const std::string& sql);
    // A statement prepared once per connection, reset and unbound on each
    // call. The caller finishes with it before asking for the same text again.
    Statement& cached(const char* sql);
    std::int64_t lastInsertId() const;
    // Turns an SQLite result code into an EngineError that names the file.
    [[noreturn]] void fail(int resultCode, std::string_view doing) const;
    // Gives the next prepare, step or command the full work budget again;
    // the budget bounds each call, not the life of the connection.
    void startBoundedWork() { workDone_ = 0; }

private:
    void limitWork(Mode mode);
    static int countWork(void* connection);

    std::string path_;
    sqlite3* db_ = nullptr;
    std::int64_t workBudget_ = 0;
    std::int64_t workDone_ = 0;
    std::map<const char*, std::unique_ptr<Statement>> statements_;
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
