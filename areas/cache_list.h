// The Cache tab's list: the URL-cache entries by source name, with selection and current row.
#pragma once

#include <string>
#include <vector>

#include "browsers/browser_cache.h"
#include "platform/url_cache.h"

namespace purgeon {

struct ListRow {
    std::wstring text;
    bool selected = false;
    int browserRow = -1;  // a browser's cache entry: its place in browserRows()
};

// A browser's cache entry on the list: the profile's place in the program's list, and the entry.
struct BrowserCacheRow {
    std::size_t profile = 0;
    BrowserCacheEntry entry;
};

struct CacheDeletion {
    size_t removed = 0;
    size_t refused = 0;  // the cache would not delete them
};

class CacheList {
public:
    // Empties the list and lists every entry that has the normal-entry bit, in the cache's order.
    // No row is current afterwards. A walk that breaks off keeps the rows listed so far and gives
    // the failure.
    Status refill(UrlCache& cache);

    // Adds a profile's cache entries after the rows there are: "[Chrome (Default)] <address>", or
    // "[Chrome (Default)] Code Cache: 3 files, 12 KB" for a whole folder.
    void appendBrowserEntries(const std::wstring& browser, std::size_t profile,
                              std::vector<BrowserCacheEntry> entries);

    // Deletes the entry of every listed row of the URL cache, first to last. Unless
    // deletePasswords is set, rows whose text contains "Cookie" (exactly so, case counts) are
    // spared. Rows stay as they are; the caller refills. Browser rows are left to the caller.
    CacheDeletion deleteListed(UrlCache& cache, bool deletePasswords) const;

    // Deletes the entry of the current row only, whatever else is selected. No current row, or
    // a browser's row (see currentBrowserRow): nothing is deleted, which is success.
    Status deleteCurrent(UrlCache& cache) const;

    // A click on a row toggles its selected flag and makes it the current row.
    void click(int row);
    void invertSelection();

    const std::vector<ListRow>& rows() const { return m_rows; }
    int currentRow() const { return m_current; }
    const std::vector<BrowserCacheRow>& browserRows() const { return m_browserRows; }
    // The browser entry of the current row; null when there is none or it is a URL-cache row.
    const BrowserCacheRow* currentBrowserRow() const;

private:
    std::vector<ListRow> m_rows;
    std::vector<BrowserCacheRow> m_browserRows;
    int m_current = -1;
};

// True when a cache row names a stored cookie or password and is spared by "Clear Cache".
bool isCookieRow(const std::wstring& text);

}  // namespace purgeon
