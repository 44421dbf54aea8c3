// A browser profile's visited-URL history: listing it, and clearing it with every trace of it.
#pragma once

#include <cstdint>
#include <functional>
#include <stop_token>
#include <string>
#include <vector>

#include "browsers/browser_cookies.h"
#include "browsers/browser_files.h"
#include "browsers/browser_profile.h"
#include "platform/files.h"

namespace purgeon {

struct BrowserVisit {
    std::wstring url;
    std::wstring title;
    std::int64_t lastVisited = 0;  // 100 ns units since 1601-01-01, UTC; 0 when unknown
};

// A visit time in microseconds since the browser's epoch (1601 for the Chromium family,
// `epochAsFileTime` after it for Firefox's 1970) in 100 ns units since 1601; 0 when the time is
// not positive or too large for those units, as a damaged database may hold.
std::int64_t visitFileTime(std::int64_t micro, std::int64_t epochAsFileTime);

// The visited pages, most recent first. Reading changes nothing. The error's words, or empty.
std::wstring listBrowserHistory(FileSystem& files, const BrowserProfile& profile,
                                std::vector<BrowserVisit>& visits);
// The same, handed over in batches of at most batchSize pages as they are read; ends early when
// asked to stop.
using VisitsHand = std::function<void(std::vector<BrowserVisit>)>;
std::wstring listBrowserHistory(FileSystem& files, const BrowserProfile& profile,
                                const VisitsHand& hand, std::stop_token stop,
                                std::size_t batchSize = 4096);
// How many visited pages the history holds: what listBrowserHistory lists and what clearing it
// counts as removed, for every browser alike (pages, not visits). The error's words, or empty.
std::wstring countBrowserHistory(FileSystem& files, const BrowserProfile& profile,
                                 std::size_t& pages);

struct HistoryClearing {
    StoreClearing database;  // the history database and the ones beside it that name pages
    FileRemoval files;       // session files and other plain files that hold addresses
};

// Clears the history database (Chromium's History; Firefox's places.sqlite, where bookmarked
// pages stay without their visits) and the databases that name visited pages (icons, top sites,
// shortcuts), each in a transaction with secure deletion and rebuilt afterwards; then overwrites
// and removes the session files.
HistoryClearing clearBrowserHistory(FileSystem& files, const BrowserProfile& profile,
                                    std::stop_token stop = {});

}  // namespace purgeon
