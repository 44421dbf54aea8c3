// Fuzz target: the rows of the browsers' cookie and history tables, as the lists read them. The
// input is fields separated by NUL bytes, three per row: host, name, path of a cookie, and URL,
// title, time of a visit (a decimal time is stored as a number, anything else as NULL; an empty
// field is NULL everywhere). The rows go into real databases of Chromium's and Firefox's tables.
#include <sqlite3.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <system_error>
#include <string>
#include <tuple>
#include <vector>

#include "browsers/browser_cookies.h"
#include "browsers/browser_history.h"
#include "browsers/utf8_text.h"
#include "fakes/fake_stores.h"
#include "fuzz/browser_database.h"
#include "fuzz/fuzz_support.h"

using namespace purgeon;
using namespace purgeon::fuzz;

namespace {

// 1970-01-01 in 100 ns units since 1601: where Firefox counts its times from.
constexpr std::int64_t kFirefoxEpoch = 116444736000000000;

constexpr std::size_t kMaxRows = 64;

struct Row {
    std::optional<std::string> first, second, third;  // nothing for NULL
};

std::optional<std::string> field(std::string_view text) {
    if (text.empty()) return std::nullopt;
    return std::string(text);
}

std::optional<std::int64_t> decimal(const std::optional<std::string>& text) {
    if (!text) return std::nullopt;
    std::int64_t value = 0;
    const char* end = text->data() + text->size();
    const auto [stop, error] = std::from_chars(text->data(), end, value);
    if (error != std::errc() || stop != end) return std::nullopt;
    return value;
}

void exec(sqlite3* db, const char* sql) {
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        broken("the scratch database is built", sqlite3_errmsg(db));
}

void bindText(sqlite3_stmt* statement, int index, const std::optional<std::string>& text) {
    if (text)
        sqlite3_bind_text(statement, index, text->data(), static_cast<int>(text->size()),
                          SQLITE_TRANSIENT);
    else
        sqlite3_bind_null(statement, index);
}

// One database with both browsers' tables, every row in each.
std::string databaseOf(const std::vector<Row>& rows, const std::wstring& folder) {
    const std::string path = toUtf8(folder) + "rows.db";
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) broken("the scratch database opens");
    exec(db,
         "PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF; BEGIN;"
         "CREATE TABLE cookies (creation_utc INTEGER, host_key TEXT, name TEXT, path TEXT);"
         "CREATE TABLE urls (id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR,"
         " last_visit_time INTEGER);"
         "CREATE TABLE moz_cookies (id INTEGER PRIMARY KEY, host TEXT, name TEXT, path TEXT);"
         "CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR,"
         " last_visit_date INTEGER);");
    for (const char* sql : {"INSERT INTO cookies VALUES (0, ?1, ?2, ?3)",
                            "INSERT INTO urls (url, title, last_visit_time) VALUES (?1, ?2, ?4)",
                            "INSERT INTO moz_cookies (host, name, path) VALUES (?1, ?2, ?3)",
                            "INSERT INTO moz_places (url, title, last_visit_date) "
                            "VALUES (?1, ?2, ?4)"}) {
        sqlite3_stmt* insert = nullptr;
        if (sqlite3_prepare_v2(db, sql, -1, &insert, nullptr) != SQLITE_OK)
            broken("the scratch database takes rows", sqlite3_errmsg(db));
        for (const Row& row : rows) {
            bindText(insert, 1, row.first);
            bindText(insert, 2, row.second);
            bindText(insert, 3, row.third);
            if (const auto time = decimal(row.third))
                sqlite3_bind_int64(insert, 4, *time);
            else
                sqlite3_bind_null(insert, 4);
            if (sqlite3_step(insert) != SQLITE_DONE)
                broken("the scratch database takes rows", sqlite3_errmsg(db));
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
    }
    exec(db, "COMMIT");
    sqlite3_close(db);
    return path;
}

std::wstring text(const std::optional<std::string>& value) {
    return value ? fromUtf8(*value) : std::wstring();
}

// SQLite's order of the rows: NULL first, then text by its bytes.
bool before(const Row& a, const Row& b) {
    return std::tie(a.first, a.second, a.third) < std::tie(b.first, b.second, b.third);
}

void checkCookies(FileSystem& files, const BrowserProfile& profile, std::vector<Row> rows) {
    std::vector<BrowserCookie> cookies;
    const std::wstring error = listBrowserCookies(files, profile, cookies);
    check(error.empty(), "the cookie table reads", shown(error));
    check(cookies.size() == rows.size(), "every cookie row is listed");
    std::stable_sort(rows.begin(), rows.end(), before);
    std::vector<std::int64_t> ids;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        check(cookies[i].host == text(rows[i].first) && cookies[i].name == text(rows[i].second) &&
                  cookies[i].path == text(rows[i].third),
              "cookies are listed as stored, ordered by site, name and path",
              shown(cookies[i].host) + " " + shown(cookies[i].name));
        ids.push_back(cookies[i].rowId);
    }
    std::sort(ids.begin(), ids.end());
    for (std::size_t i = 0; i < ids.size(); ++i)
        check(ids[i] == static_cast<std::int64_t>(i + 1), "each cookie keeps its own row");
}

void checkHistory(FileSystem& files, const BrowserProfile& profile, const std::vector<Row>& rows,
                  bool firefox) {
    std::vector<BrowserVisit> visits;
    const std::wstring error = listBrowserHistory(files, profile, visits);
    check(error.empty(), "the history table reads", shown(error));
    std::vector<std::pair<std::wstring, std::wstring>> expected, listed;
    std::size_t unknownTimes = 0;
    for (const Row& row : rows) {
        const auto time = decimal(row.third);
        if (firefox && !time) continue;  // never visited
        expected.emplace_back(text(row.first), text(row.second));
        // A time too large for a file time (a damaged database) is as unknown as none.
        if (!time || visitFileTime(*time, firefox ? kFirefoxEpoch : 0) == 0) ++unknownTimes;
    }
    std::int64_t previousKnown = INT64_MAX;
    for (std::size_t i = 0; i < visits.size(); ++i) {
        listed.emplace_back(visits[i].url, visits[i].title);
        check(visits[i].lastVisited >= 0, "a visit's time is not before 1601",
              std::to_string(visits[i].lastVisited));
        if (visits[i].lastVisited == 0) continue;
        check(previousKnown >= visits[i].lastVisited,
              "visits with a known time are listed most recent first");
        previousKnown = visits[i].lastVisited;
    }
    const auto zero = std::count_if(visits.begin(), visits.end(),
                                    [](const BrowserVisit& v) { return v.lastVisited == 0; });
    check(static_cast<std::size_t>(zero) == unknownTimes,
          "exactly the visits without a time have none");
    std::sort(expected.begin(), expected.end());
    std::sort(listed.begin(), listed.end());
    check(listed == expected, "every visited page is listed as stored");
}

ScratchFolder& scratch() {
    static ScratchFolder folder;
    return folder;
}

// libFuzzer's timer signal may interrupt a copy part-way, which the library reports rather than
// retries: copy again.
void copyFile(const std::string& from, const std::string& to) {
    for (;;) {
        std::error_code error;
        std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing,
                                   error);
        if (!error) return;
        if (error != std::errc::interrupted)
            throw std::filesystem::filesystem_error("copy", from, to, error);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string_view> fields = partsOf(bytesOf(data, size), '\0');
    std::vector<Row> rows;
    for (std::size_t i = 0; i + 3 <= fields.size() && rows.size() < kMaxRows; i += 3)
        rows.push_back({field(fields[i]), field(fields[i + 1]), field(fields[i + 2])});

    const std::wstring folder = scratch().emptyFolder("rows");
    const std::string database = databaseOf(rows, folder);
    fakes::FakeFileSystem files;
    for (const wchar_t* name : {L"Cookies", L"History", L"cookies.sqlite", L"places.sqlite"}) {
        copyFile(database, toUtf8(folder + name));
        files.files[folder + name];
    }
    const BrowserProfile chromium{L"Chromium", L"Default",           folder,
                                  folder,      folder + L"lockfile", BrowserFamily::chromium};
    const BrowserProfile firefox{
        L"Firefox", L"default", folder, folder, folder + L"parent.lock", BrowserFamily::firefox};
    checkCookies(files, chromium, rows);
    checkCookies(files, firefox, rows);
    checkHistory(files, chromium, rows, false);
    checkHistory(files, firefox, rows, true);
    return 0;
}
