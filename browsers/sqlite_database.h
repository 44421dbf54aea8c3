// An open SQLite database and its prepared statements, each owned and closed with its owner.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace purgeon {

// A failure SQLite reported, with its words and its extended result code.
class SqliteError : public std::runtime_error {
public:
    SqliteError(const std::string& what, int code) : std::runtime_error(what), m_code(code) {}
    int code() const { return m_code; }
    // SQLITE_BUSY or SQLITE_LOCKED: another program holds the database.
    bool busy() const;

private:
    int m_code;
};

class SqliteStatement {
public:
    SqliteStatement(sqlite3* db, std::string_view sql);
    // True while a row is there to read; false once the statement is done.
    bool step();
    void reset();
    void bind(int index, std::int64_t value);
    void bind(int index, std::string_view utf8);
    std::int64_t integer(int column) const;
    std::string text(int column) const;  // UTF-8; empty for NULL

private:
    sqlite3* m_db;
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> m_statement;
};

class SqliteDatabase {
public:
    // Opens an existing database file; never creates one. Read-only opens change nothing in it.
    SqliteDatabase(const std::wstring& path, bool readOnly);

    void exec(std::string_view sql);
    SqliteStatement prepare(std::string_view sql) { return SqliteStatement(m_db.get(), sql); }
    bool hasTable(std::string_view table);
    bool hasColumn(std::string_view table, std::string_view column);
    std::int64_t count(std::string_view table);
    // "wal", "delete", "truncate", "persist", ...
    std::string journalMode();

    // Makes every later deletion overwrite what it removes, in the file and in its journal.
    void secureDelete() { exec("PRAGMA secure_delete = ON"); }
    // Keeps the file that holds what changes replace where it is, so that its blocks can be
    // overwritten once this connection is closed, instead of being freed with the old pages in
    // them: a rollback journal stays (PERSIST) and a write-ahead log outlives the connection.
    // The path of that file.
    std::wstring keepJournal();
    // After a clear: rebuilds the file so no free page keeps old rows, then hands the write-ahead
    // log back to the file; a log that is not kept is truncated to nothing.
    void compact();
    // "ok", or what the check found.
    std::string integrityCheck();

private:
    std::wstring m_path;
    bool m_keepsJournal = false;
    std::unique_ptr<sqlite3, int (*)(sqlite3*)> m_db;
};

// A SQL name in double quotes, quotes inside doubled.
std::string quotedName(std::string_view name);

}  // namespace purgeon
