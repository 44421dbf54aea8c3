// An open SQLite database and its prepared statements.
#include "browsers/sqlite_database.h"

#include <sqlite3.h>

#include "browsers/utf8_text.h"

namespace purgeon {

namespace {

[[noreturn]] void fail(sqlite3* db, int code, std::string_view doing) {
    std::string what(doing);
    what += ": ";
    what += db ? sqlite3_errmsg(db) : sqlite3_errstr(code);
    throw SqliteError(what, db ? sqlite3_extended_errcode(db) : code);
}

// Wait a little for a brief lock of another connection before giving up.
constexpr int kBusyTimeoutMs = 2000;

}  // namespace

bool SqliteError::busy() const {
    const int primary = m_code & 0xFF;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

SqliteStatement::SqliteStatement(sqlite3* db, std::string_view sql)
    : m_db(db), m_statement(nullptr, sqlite3_finalize) {
    sqlite3_stmt* statement = nullptr;
    const int code =
        sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &statement, nullptr);
    m_statement.reset(statement);
    if (code != SQLITE_OK) fail(db, code, "prepare " + std::string(sql.substr(0, 60)));
}

bool SqliteStatement::step() {
    const int code = sqlite3_step(m_statement.get());
    if (code == SQLITE_ROW) return true;
    if (code == SQLITE_DONE) return false;
    fail(m_db, code, "step");
}

void SqliteStatement::reset() {
    sqlite3_reset(m_statement.get());
    sqlite3_clear_bindings(m_statement.get());
}

void SqliteStatement::bind(int index, std::int64_t value) {
    const int code = sqlite3_bind_int64(m_statement.get(), index, value);
    if (code != SQLITE_OK) fail(m_db, code, "bind");
}

void SqliteStatement::bind(int index, std::string_view utf8) {
    const int code = sqlite3_bind_text(m_statement.get(), index, utf8.data(),
                                       static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
    if (code != SQLITE_OK) fail(m_db, code, "bind");
}

std::int64_t SqliteStatement::integer(int column) const {
    return sqlite3_column_int64(m_statement.get(), column);
}

std::string SqliteStatement::text(int column) const {
    const auto* bytes = sqlite3_column_text(m_statement.get(), column);
    if (!bytes) return {};
    return std::string(reinterpret_cast<const char*>(bytes),
                       static_cast<size_t>(sqlite3_column_bytes(m_statement.get(), column)));
}

SqliteDatabase::SqliteDatabase(const std::wstring& path, bool readOnly)
    : m_path(path), m_db(nullptr, sqlite3_close_v2) {
    sqlite3* db = nullptr;
    const int flags = (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) |
                      SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_EXRESCODE;
    const int code = sqlite3_open_v2(toUtf8(path).c_str(), &db, flags, nullptr);
    m_db.reset(db);
    if (code != SQLITE_OK) fail(db, code, "open " + toUtf8(path));
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
}

void SqliteDatabase::exec(std::string_view sql) {
    const std::string text(sql);
    const int code = sqlite3_exec(m_db.get(), text.c_str(), nullptr, nullptr, nullptr);
    if (code != SQLITE_OK) fail(m_db.get(), code, text.substr(0, 60));
}

bool SqliteDatabase::hasTable(std::string_view table) {
    SqliteStatement query =
        prepare("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?");
    query.bind(1, table);
    return query.step();
}

bool SqliteDatabase::hasColumn(std::string_view table, std::string_view column) {
    SqliteStatement query = prepare("SELECT 1 FROM pragma_table_info(?) WHERE name = ?");
    query.bind(1, table);
    query.bind(2, column);
    return query.step();
}

std::int64_t SqliteDatabase::count(std::string_view table) {
    SqliteStatement query = prepare("SELECT count(*) FROM " + quotedName(table));
    return query.step() ? query.integer(0) : 0;
}

std::string SqliteDatabase::journalMode() {
    SqliteStatement query = prepare("PRAGMA journal_mode");
    return query.step() ? query.text(0) : std::string();
}

std::wstring SqliteDatabase::keepJournal() {
    m_keepsJournal = true;
    if (journalMode() == "wal") {
        int keep = 1;
        const int code = sqlite3_file_control(m_db.get(), "main", SQLITE_FCNTL_PERSIST_WAL, &keep);
        if (code != SQLITE_OK) fail(m_db.get(), code, "keep the write-ahead log");
        return m_path + L"-wal";
    }
    // Only the connection's own way of journalling changes: the browser keeps its own.
    SqliteStatement persist = prepare("PRAGMA journal_mode = PERSIST");
    if (!persist.step() || persist.text(0) != "persist")
        throw SqliteError("the journal cannot be kept in place", SQLITE_ERROR);
    return m_path + L"-journal";
}

void SqliteDatabase::compact() {
    // The copy VACUUM builds stays in memory, never in a temporary file of its own.
    exec("PRAGMA temp_store = MEMORY");
    exec("VACUUM");
    if (journalMode() == "wal")
        exec(m_keepsJournal ? "PRAGMA wal_checkpoint(FULL)" : "PRAGMA wal_checkpoint(TRUNCATE)");
}

std::string SqliteDatabase::integrityCheck() {
    SqliteStatement query = prepare("PRAGMA integrity_check");
    std::string result;
    while (query.step()) result += (result.empty() ? "" : "; ") + query.text(0);
    return result;
}

std::string quotedName(std::string_view name) {
    std::string quoted = "\"";
    for (const char c : name) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

}  // namespace purgeon
