// A browser profile's cookies: listing them from its database and deleting them through SQLite.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "browsers/browser_profile.h"
#include "browsers/cookie_keep_list.h"
#include "platform/files.h"

namespace purgeon {

struct BrowserCookie {
    std::wstring host;  // as stored: ".example.com" or "example.com"
    std::wstring name;
    std::wstring path;
    std::int64_t rowId = 0;
    std::uint64_t bytes = 0;  // of its name and value, as stored
    // The same cookie: its row, site, name and path (the value may have changed since).
    bool operator==(const BrowserCookie& other) const {
        return host == other.host && name == other.name && path == other.path &&
               rowId == other.rowId;
    }
};

// What a clear of a browser store did; error is empty when it went through.
struct StoreClearing {
    std::size_t removed = 0;
    std::size_t kept = 0;  // spared by the keep list
    std::wstring error;    // SQLite's or the system's words
    bool busy = false;     // another program held the database
};

// The profile's cookie database: "Network\Cookies" (or the older "Cookies") of a Chromium
// profile, "cookies.sqlite" of Firefox; empty when there is none.
std::wstring cookieDatabase(FileSystem& files, const BrowserProfile& profile);

// Every cookie, ordered by site and name. Reading changes nothing. The error's words, or empty.
std::wstring listBrowserCookies(FileSystem& files, const BrowserProfile& profile,
                                std::vector<BrowserCookie>& cookies);

// Deletes, in one transaction with secure deletion on, every cookie (only: the given ones, matched
// by row, host, name and path) whose host the keep list does not keep; then rebuilds the file so
// that no free page and no journal still holds a removed cookie.
StoreClearing deleteBrowserCookies(FileSystem& files, const BrowserProfile& profile,
                                   const CookieKeepList& keep,
                                   const std::vector<BrowserCookie>* only = nullptr);

}  // namespace purgeon
