#include "store/Sqlite.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <filesystem>
#include <mutex>

namespace velloran::notes::store {

namespace {

// How long a reader waits for a writer of the same file before giving up.
constexpr int kBusyTimeoutMs = 3000;

// SQLite reports progress every kWorkInterval virtual-machine steps.
constexpr int kWorkInterval = 1000;
// Virtual-machine steps one call may take. Reading a row of any table takes
// fewer than 100, so the readers' budget (about a second of work, and at most
// about 64 MB of sorting) stops only SQL that never ends. A writer deletes a
// whole view index in one call, 8 steps an entry: its budget covers views of
// 2^31 entries.
constexpr std::int64_t kReadWorkBudget = std::int64_t{1} << 25;
constexpr std::int64_t kWriteWorkBudget = std::int64_t{1} << 35;
// Memory SQLite may hold in the whole process, a backstop behind the budget.
constexpr sqlite3_int64 kHeapLimit = sqlite3_int64{1} << 30;
// Longest SQL text SQLite parses, the file's own schema entries included.
// Ours are a few hundred bytes each.
constexpr int kMaxSqlLength = 1 << 20;

bool readsOnly(Connection::Mode mode) {
    return mode == Connection::Mode::ReadOnly || mode == Connection::Mode::Immutable;
}

int openFlags(Connection::Mode mode) {
    switch (mode) {
    case Connection::Mode::ReadOnly: return SQLITE_OPEN_READONLY;
    case Connection::Mode::Immutable: return SQLITE_OPEN_READONLY | SQLITE_OPEN_URI;
    case Connection::Mode::ReadWrite: return SQLITE_OPEN_READWRITE;
    case Connection::Mode::Create: return SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    }
    return SQLITE_OPEN_READONLY;
}

// A "file:" URI for the file with the parameters that open it immutable.
// Every byte but the unreserved ones is escaped, so "?", "#" and "%" in a
// name stay part of it; the empty host ("file://") keeps a path that starts
// with "//" from reading as a host name.
std::string immutableUri(const std::string& path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    constexpr std::string_view kPlain = "-._~/";
    std::string uri = "file://";
    for (unsigned char c : std::filesystem::absolute(path).string()) {
        bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                     kPlain.find(static_cast<char>(c)) != std::string_view::npos;
        if (plain) {
            uri += static_cast<char>(c);
        } else {
            uri += '%';
            uri += kHex[c >> 4];
            uri += kHex[c & 0xf];
        }
    }
    return uri + "?mode=ro&immutable=1";
}

std::int64_t nanoseconds(const timespec& time) { return std::int64_t{time.tv_sec} * 1'000'000'000 + time.tv_nsec; }

// The file's state now; an empty one when it cannot be looked at (removed),
// which differs from every state of a file that exists.
Connection::FileState stateOf(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return {};
    return {status.st_dev, status.st_ino, status.st_size, nanoseconds(status.st_mtim), nanoseconds(status.st_ctim)};
}

void limitSqliteHeap() {
    static std::once_flag once;
    std::call_once(once, [] {
        if (sqlite3_hard_heap_limit64(-1) == 0) sqlite3_hard_heap_limit64(kHeapLimit);
    });
}

}  // namespace

Failure unusableDatabase(const std::string& path) {
    return engineFailure(msg::kUnusableDatabase, {path});
}

Connection::Connection(const std::string& path, Mode mode) : path_(path) {
    limitSqliteHeap();
    if (mode == Mode::Immutable) openedState_ = stateOf(path);
    std::string name = mode == Mode::Immutable ? immutableUri(path) : path;
    int rc = sqlite3_open_v2(name.c_str(), &db_, openFlags(mode) | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        std::string why = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
        const int error = db_ ? sqlite3_system_errno(db_) : 0;
        sqlite3_close(db_);
        db_ = nullptr;
        throw engineFailure(Failure::Kind::Database, msg::kCannotOpen, {path, why}, error);
    }
    sqlite3_extended_result_codes(db_, 0);
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    try {
        limitWork(mode);
    } catch (...) {
        sqlite3_close(db_);
        throw;
    }
}

// The file's schema may hold SQL written to do harm: functions it calls must
// be harmless ones, triggers and views never run, and its text is parsed only
// up to kMaxSqlLength. Readers keep temporary data in memory, where the work
// budget and the heap limit bound it, instead of in the temporary folder.
void Connection::limitWork(Mode mode) {
    for (int option : {SQLITE_DBCONFIG_DEFENSIVE, SQLITE_DBCONFIG_TRUSTED_SCHEMA, SQLITE_DBCONFIG_ENABLE_TRIGGER,
                       SQLITE_DBCONFIG_ENABLE_VIEW}) {
        int rc = sqlite3_db_config(db_, option, option == SQLITE_DBCONFIG_DEFENSIVE ? 1 : 0, nullptr);
        if (rc != SQLITE_OK) fail(rc, "securing the connection");
    }
    sqlite3_limit(db_, SQLITE_LIMIT_SQL_LENGTH, kMaxSqlLength);
    workBudget_ = readsOnly(mode) ? kReadWorkBudget : kWriteWorkBudget;
    sqlite3_progress_handler(db_, kWorkInterval, &Connection::countWork, this);
    if (readsOnly(mode)) execute("PRAGMA temp_store = MEMORY; PRAGMA cell_size_check = ON");
}

int Connection::countWork(void* connection) {
    auto& self = *static_cast<Connection*>(connection);
    self.workDone_ += kWorkInterval;
    return self.workDone_ > self.workBudget_ ? 1 : 0;
}

Connection::~Connection() {
    statements_.clear();
    sqlite3_close(db_);
}

void Connection::fail(int resultCode, std::string_view doing) const {
    std::string detail = sqlite3_errmsg(db_);
    // The system's error behind a failure to open, read or write the file;
    // for other failures the last one SQLite saw may be an older one.
    const int primary = resultCode & 0xff;
    const bool system = primary == SQLITE_CANTOPEN || primary == SQLITE_PERM || primary == SQLITE_IOERR;
    const int error = system ? sqlite3_system_errno(db_) : 0;
    switch (primary) {
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        // An immutable reader sees a file that another program rewrites as
        // damaged: that is a change, not damage.
        checkUnchanged();
        throw engineFailure(msg::kDamagedFile, {path_, detail});
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        throw engineFailure(msg::kLocked, {path_});
    case SQLITE_READONLY:
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
        throw engineFailure(Failure::Kind::Database, msg::kCannotWrite, {path_, detail}, error);
    case SQLITE_FULL:
        throw engineFailure(msg::kDiskFull, {path_});
    case SQLITE_INTERRUPT:
        throw unusableDatabase(path_);
    case SQLITE_NOMEM:
        throw engineFailure(msg::kNoMemory, {path_});
    default:
        throw engineFailure(Failure::Kind::Database, msg::kSqlFailed, {std::string(doing), path_, detail}, error);
    }
}

void Connection::execute(const std::string& sql) {
    startBoundedWork();
    char* message = nullptr;
    int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message);
    sqlite3_free(message);
    if (rc != SQLITE_OK) fail(rc, "running a command");
}

Statement Connection::cached(const char* sql) {
    auto& slot = statements_[sql];
    if (!slot) slot = std::make_unique<PreparedStatement>(*this, sql);
    return Statement(*slot);
}

std::shared_ptr<ReadSnapshot> Connection::holdSnapshot() {
    std::shared_ptr<ReadSnapshot> snapshot = snapshot_.lock();
    if (!snapshot) {
        snapshot = std::make_shared<ReadSnapshot>(*this);
        snapshot_ = snapshot;
    }
    return snapshot;
}

bool Connection::changedSinceOpen() const { return openedState_ && stateOf(path_) != *openedState_; }

void Connection::checkUnchanged() const {
    if (changedSinceOpen()) throw engineFailure(msg::kChangedWhileReading, {path_});
}

std::int64_t Connection::lastInsertId() const { return sqlite3_last_insert_rowid(db_); }

PreparedStatement::PreparedStatement(Connection& owner, std::string_view sql) : owner_(owner) {
    owner.startBoundedWork();
    int rc = sqlite3_prepare_v3(owner.handle(), sql.data(), static_cast<int>(sql.size()),
                                SQLITE_PREPARE_PERSISTENT, &statement_, nullptr);
    if (rc != SQLITE_OK) owner.fail(rc, "reading the design of the database");
}

PreparedStatement::~PreparedStatement() { sqlite3_finalize(statement_); }

Statement::Statement(Connection& owner, std::string_view sql)
    : owned_(std::make_unique<PreparedStatement>(owner, sql)), prepared_(owned_.get()) {}

Statement::~Statement() {
    sqlite3_reset(handle());
    sqlite3_clear_bindings(handle());
}

void Statement::fail(int resultCode, std::string_view doing) const { prepared_->owner().fail(resultCode, doing); }

Statement& Statement::bind(int index, std::int64_t value) {
    if (int rc = sqlite3_bind_int64(handle(), index, value); rc != SQLITE_OK) fail(rc, "binding a value");
    return *this;
}

Statement& Statement::bind(int index, double value) {
    if (int rc = sqlite3_bind_double(handle(), index, value); rc != SQLITE_OK) fail(rc, "binding a value");
    return *this;
}

Statement& Statement::bind(int index, std::string_view text) {
    int rc = sqlite3_bind_text(handle(), index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    if (rc != SQLITE_OK) fail(rc, "binding a value");
    return *this;
}

Statement& Statement::bindBlob(int index, std::span<const std::uint8_t> bytes) {
    // An empty span may have no data pointer, which SQLite would store as NULL.
    int rc = bytes.empty() ? sqlite3_bind_zeroblob(handle(), index, 0)
                           : sqlite3_bind_blob64(handle(), index, bytes.data(), bytes.size(), SQLITE_TRANSIENT);
    if (rc != SQLITE_OK) fail(rc, "binding a value");
    return *this;
}

Statement& Statement::bindNull(int index) {
    if (int rc = sqlite3_bind_null(handle(), index); rc != SQLITE_OK) fail(rc, "binding a value");
    return *this;
}

bool Statement::step() {
    prepared_->owner().startBoundedWork();
    int rc = sqlite3_step(handle());
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    sqlite3_reset(handle());
    fail(rc, "using it");
}

void Statement::run() {
    while (step()) {
    }
}

std::int64_t Statement::integer(int column) const { return sqlite3_column_int64(handle(), column); }

double Statement::real(int column) const { return sqlite3_column_double(handle(), column); }

std::string Statement::text(int column) const {
    auto* data = reinterpret_cast<const char*>(sqlite3_column_text(handle(), column));
    return data ? std::string(data, static_cast<std::size_t>(sqlite3_column_bytes(handle(), column))) : std::string();
}

std::span<const std::uint8_t> Statement::blob(int column) const {
    auto* data = static_cast<const std::uint8_t*>(sqlite3_column_blob(handle(), column));
    return {data, static_cast<std::size_t>(sqlite3_column_bytes(handle(), column))};
}

bool Statement::isNull(int column) const { return sqlite3_column_type(handle(), column) == SQLITE_NULL; }

Transaction::Transaction(Connection& connection) : connection_(connection) {
    connection_.execute("BEGIN IMMEDIATE");
}

Transaction::~Transaction() {
    if (!open_) return;
    connection_.startBoundedWork();
    sqlite3_exec(connection_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

// The schema version is read from the file, which begins the read: the
// state is fixed here, not at the first statement that happens to follow.
ReadSnapshot::ReadSnapshot(Connection& connection) : connection_(connection) {
    if (sqlite3_get_autocommit(connection_.handle()) == 0) return;
    connection_.execute("BEGIN");
    began_ = true;
    try {
        Statement(connection_, "PRAGMA schema_version").step();
        connection_.checkUnchanged();
    } catch (...) {
        sqlite3_exec(connection_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

// Ending a transaction that only read cannot lose anything; the statements
// of the connection are reset by then, so nothing keeps the lock.
ReadSnapshot::~ReadSnapshot() {
    if (!began_) return;
    connection_.startBoundedWork();
    sqlite3_exec(connection_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::commit() {
    connection_.execute("COMMIT");
    open_ = false;
}

}  // namespace velloran::notes::store
