// A browser profile's cookies through SQLite.
#include "browsers/browser_cookies.h"

#include <algorithm>

#include "browsers/database_change.h"
#include "browsers/sqlite_database.h"
#include "browsers/utf8_text.h"

namespace purgeon {

namespace {

struct CookieSchema {
    const char* table;
    const char* host;
};

CookieSchema schemaOf(const BrowserProfile& profile) {
    return profile.family == BrowserFamily::firefox ? CookieSchema{"moz_cookies", "host"}
                                                    : CookieSchema{"cookies", "host_key"};
}

// The stored size of a cookie's name and value, from the columns this database has: Chromium
// keeps the value encrypted beside an empty plain one, older versions and other browsers do not.
std::string bytesSql(SqliteDatabase& db, const CookieSchema& schema) {
    std::string sum = "ifnull(length(CAST(name AS BLOB)), 0)";
    for (const char* column : {"value", "encrypted_value"}) {
        if (db.hasColumn(schema.table, column))
            sum += std::string(" + ifnull(length(CAST(") + column + " AS BLOB)), 0)";
    }
    return sum;
}

std::string selectSql(SqliteDatabase& db, const CookieSchema& schema) {
    return std::string("SELECT rowid, ") + schema.host + ", name, path, " + bytesSql(db, schema) +
           " FROM " + schema.table + " ORDER BY " + schema.host + ", name, path";
}

// The current row of selectSql's statement.
BrowserCookie cookieAt(const SqliteStatement& rows) {
    return {fromUtf8(rows.text(1)), fromUtf8(rows.text(2)), fromUtf8(rows.text(3)), rows.integer(0),
            static_cast<std::uint64_t>(std::max<std::int64_t>(0, rows.integer(4)))};
}

}  // namespace

std::wstring cookieDatabase(FileSystem& files, const BrowserProfile& profile) {
    const std::vector<std::wstring> candidates =
        profile.family == BrowserFamily::firefox
            ? std::vector<std::wstring>{profile.folder + L"cookies.sqlite"}
            : std::vector<std::wstring>{profile.folder + L"Network\\Cookies",
                                        profile.folder + L"Cookies"};
    for (const std::wstring& path : candidates) {
        std::uint64_t bytes = 0;
        if (files.fileSize(path, bytes).ok()) return path;
    }
    return {};
}

std::wstring listBrowserCookies(FileSystem& files, const BrowserProfile& profile,
                                std::vector<BrowserCookie>& cookies) {
    cookies.clear();
    const std::wstring path = cookieDatabase(files, profile);
    if (path.empty()) return {};
    try {
        SqliteDatabase db(path, true);
        const CookieSchema schema = schemaOf(profile);
        if (!db.hasTable(schema.table)) return {};
        SqliteStatement rows = db.prepare(selectSql(db, schema));
        while (rows.step()) {
            cookies.push_back(cookieAt(rows));
        }
    } catch (const SqliteError& error) {
        return fromUtf8(error.what());
    }
    return {};
}

StoreClearing deleteBrowserCookies(FileSystem& files, const BrowserProfile& profile,
                                   const CookieKeepList& keep,
                                   const std::vector<BrowserCookie>* only) {
    StoreClearing clearing;
    const std::wstring path = cookieDatabase(files, profile);
    if (path.empty()) return clearing;
    try {
        const CookieSchema schema = schemaOf(profile);
        clearing.error = changeLeavingNoTrace(files, path, [&](SqliteDatabase& db) {
            if (!db.hasTable(schema.table)) return false;
            db.exec("BEGIN IMMEDIATE");
            std::vector<std::int64_t> doomed;
            {
                SqliteStatement rows = db.prepare(selectSql(db, schema));
                while (rows.step()) {
                    const BrowserCookie cookie = cookieAt(rows);
                    if (only && std::find(only->begin(), only->end(), cookie) == only->end())
                        continue;
                    if (keep.keeps(cookie.host)) {
                        ++clearing.kept;
                        continue;
                    }
                    doomed.push_back(cookie.rowId);
                }
            }
            SqliteStatement remove =
                db.prepare(std::string("DELETE FROM ") + schema.table + " WHERE rowid = ?");
            for (const std::int64_t row : doomed) {
                remove.bind(1, row);
                remove.step();
                remove.reset();
            }
            db.exec("COMMIT");
            clearing.removed = doomed.size();
            return !doomed.empty();
        });
    } catch (const SqliteError& error) {
        // An open transaction is rolled back when the connection closes.
        clearing.error = fromUtf8(error.what());
        clearing.busy = error.busy();
    }
    return clearing;
}

}  // namespace purgeon
