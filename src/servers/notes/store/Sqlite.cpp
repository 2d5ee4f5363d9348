#include "store/Sqlite.h"

#include <sqlite3.h>

namespace velloran::notes::store {

namespace {

// How long a reader waits for a writer of the same file before giving up.
constexpr int kBusyTimeoutMs = 3000;

int openFlags(Connection::Mode mode) {
    switch (mode) {
    case Connection::Mode::ReadOnly: return SQLITE_OPEN_READONLY;
    case Connection::Mode::ReadWrite: return SQLITE_OPEN_READWRITE;
    case Connection::Mode::Create: return SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    }
    return SQLITE_OPEN_READONLY;
}

}  // namespace

Connection::Connection(const std::string& path, Mode mode) : path_(path) {
    int rc = sqlite3_open_v2(path.c_str(), &db_, openFlags(mode) | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        std::string why = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
        sqlite3_close(db_);
        db_ = nullptr;
        throw EngineError("Cannot open the database file " + path + ": " + why);
    }
    sqlite3_extended_result_codes(db_, 0);
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
}

Connection::~Connection() {
    statements_.clear();
    sqlite3_close(db_);
}

void Connection::fail(int resultCode, std::string_view doing) const {
    std::string detail = sqlite3_errmsg(db_);
    switch (resultCode & 0xff) {
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        throw EngineError("The database file " + path_ + " is damaged or is not a database (" + detail + ")");
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        throw EngineError("The database file " + path_ + " is locked by another program; try again later");
    case SQLITE_READONLY:
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
        throw EngineError("The database file " + path_ + " cannot be written: " + detail);
    case SQLITE_FULL:
        throw EngineError("The disk holding " + path_ + " is full");
    default:
        throw EngineError("Error while " + std::string(doing) + ", database file " + path_ + ": " + detail);
    }
}

void Connection::execute(const std::string& sql) {
    char* message = nullptr;
    int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message);
    sqlite3_free(message);
    if (rc != SQLITE_OK) fail(rc, "running a command");
}

Statement& Connection::cached(const char* sql) {
    auto& slot = statements_[sql];
    if (!slot) slot = std::make_unique<Statement>(*this, sql);
    slot->reset();
    return *slot;
}

std::int64_t Connection::lastInsertId() const { return sqlite3_last_insert_rowid(db_); }

Statement::Statement(Connection& owner, std::string_view sql) : owner_(owner) {
    int rc = sqlite3_prepare_v3(owner.handle(), sql.data(), static_cast<int>(sql.size()),
                                SQLITE_PREPARE_PERSISTENT, &statement_, nullptr);
    if (rc != SQLITE_OK) owner.fail(rc, "reading the design of the database");
}

Statement::~Statement() { sqlite3_finalize(statement_); }

Statement& Statement::bind(int index, std::int64_t value) {
    if (int rc = sqlite3_bind_int64(statement_, index, value); rc != SQLITE_OK) owner_.fail(rc, "binding a value");
    return *this;
}

Statement& Statement::bind(int index, double value) {
    if (int rc = sqlite3_bind_double(statement_, index, value); rc != SQLITE_OK) owner_.fail(rc, "binding a value");
    return *this;
}

Statement& Statement::bind(int index, std::string_view text) {
    int rc = sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    if (rc != SQLITE_OK) owner_.fail(rc, "binding a value");
    return *this;
}

Statement& Statement::bindBlob(int index, std::span<const std::uint8_t> bytes) {
    // An empty span may have no data pointer, which SQLite would store as NULL.
    int rc = bytes.empty() ? sqlite3_bind_zeroblob(statement_, index, 0)
                           : sqlite3_bind_blob64(statement_, index, bytes.data(), bytes.size(), SQLITE_TRANSIENT);
    if (rc != SQLITE_OK) owner_.fail(rc, "binding a value");
    return *this;
}

Statement& Statement::bindNull(int index) {
    if (int rc = sqlite3_bind_null(statement_, index); rc != SQLITE_OK) owner_.fail(rc, "binding a value");
    return *this;
}

bool Statement::step() {
    int rc = sqlite3_step(statement_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    sqlite3_reset(statement_);
    owner_.fail(rc, "using it");
}

void Statement::run() {
    while (step()) {
    }
}

void Statement::reset() {
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
}

std::int64_t Statement::integer(int column) const { return sqlite3_column_int64(statement_, column); }

double Statement::real(int column) const { return sqlite3_column_double(statement_, column); }

std::string Statement::text(int column) const {
    auto* data = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
    return data ? std::string(data, static_cast<std::size_t>(sqlite3_column_bytes(statement_, column))) : std::string();
}

std::span<const std::uint8_t> Statement::blob(int column) const {
    auto* data = static_cast<const std::uint8_t*>(sqlite3_column_blob(statement_, column));
    return {data, static_cast<std::size_t>(sqlite3_column_bytes(statement_, column))};
}

bool Statement::isNull(int column) const { return sqlite3_column_type(statement_, column) == SQLITE_NULL; }

Transaction::Transaction(Connection& connection) : connection_(connection) {
    connection_.execute("BEGIN IMMEDIATE");
}

Transaction::~Transaction() {
    if (open_) sqlite3_exec(connection_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::commit() {
    connection_.execute("COMMIT");
    open_ = false;
}

}  // namespace velloran::notes::store
