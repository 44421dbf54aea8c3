// The Cache tab's list: the URL-cache entries and the browsers' cache entries and folders, with
// their sizes, selection, current row and shown order.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "areas/list_order.h"
#include "browsers/browser_cache.h"
#include "platform/collation.h"
#include "platform/url_cache.h"

namespace purgeon {

// Columns: "Address" (a browser's other cache folder: its name and files), "Browser", "Size".
inline constexpr std::size_t kCacheColumns = 3;
// Column "Browser" of the URL cache's rows.
inline constexpr wchar_t kUrlCacheBrowser[] = L"Internet Explorer";

struct ListRow {
    std::wstring text;  // the address, or "GPUCache (folder, 5 files)"
    bool selected = false;
    int browserRow = -1;  // a browser's cache entry: its place in browserRows()
    std::uint64_t bytes = 0;
    std::string key;  // Collation::sortKey of the text; empty until made
    // A browser's cache entry whose address is still to come: its number among the listing's
    // entries awaiting one (CacheAddressRow::entry); -1 for any other row.
    std::int64_t addressToCome = -1;
};

// An address read for a row listed before it, with the key of the row's new text.
struct CacheAddressRow {
    std::size_t entry = 0;  // ListRow::addressToCome
    std::wstring url;       // empty when the entry names none
    std::string key;
};

// A browser's cache entry on the list: the profile's place in the program's list, and the entry.
struct BrowserCacheRow {
    std::size_t profile = 0;
    BrowserCacheEntry entry;
};

// A profile's cache entries, shared by the list and the listing that reads their addresses: a
// large cache lists tens of thousands of them, each with its files' full paths.
using CacheEntries = std::shared_ptr<const std::vector<BrowserCacheEntry>>;

// What a listing hands over: one profile's entries, their rows' keys made.
struct CacheBatch {
    std::wstring browser;
    std::string browserKey;
    std::size_t profile = 0;
    CacheEntries entries;
    std::vector<std::string> keys;  // one per entry
};

struct CacheDeletion {
    size_t removed = 0;
    size_t refused = 0;       // the cache would not delete them
    std::uint64_t bytes = 0;  // of those removed
};

class CacheList {
public:
    // Empties the list and lists every entry that has the normal-entry bit, in the cache's order.
    // No row is current afterwards. A walk that breaks off keeps the rows listed so far and gives
    // the failure. With a collation the rows' keys are made too.
    Status refill(UrlCache& cache, const Collation* collation = nullptr);

    // Adds a profile's cache entries after the rows there are: "<address>", or "Code Cache
    // (folder, 3 files)" for a whole folder, with the browser's title beside them.
    void appendBrowserEntries(const std::wstring& browser, std::size_t profile,
                              std::vector<BrowserCacheEntry> entries);
    // A batch's entries without an address (but whole folders) await theirs: each is numbered,
    // in the order they are added, and shows no text until setAddresses gives it.
    void add(CacheBatch batch);
    // Gives rows awaiting an address their address (or, for one naming none, its file's name);
    // sorted by address, they move to their places, and true is given.
    bool setAddresses(std::vector<CacheAddressRow> addresses);
    // A batch of the profile's entries, keys made (off the window's thread).
    static CacheBatch batchOf(const std::wstring& browser, std::size_t profile,
                              CacheEntries entries, const Collation& collation);
    static CacheBatch batchOf(const std::wstring& browser, std::size_t profile,
                              std::vector<BrowserCacheEntry> entries, const Collation& collation);

    // Deletes the entry of every listed row of the URL cache, first to last. Unless
    // deletePasswords is set, rows whose text contains "Cookie" (exactly so, case counts) are
    // spared. Rows stay as they are; the caller refills. Browser rows are left to the caller.
    CacheDeletion deleteListed(UrlCache& cache, bool deletePasswords) const;
    // What deleteListed would delete, every entry going: their count and bytes.
    CacheDeletion listedForDeletion(bool deletePasswords) const;

    // Deletes the entry of every selected row of the URL cache (the "Cookie" rule does not
    // apply: the user chose them), handing each refusal to refused. Rows stay as they are; the
    // caller refills. Browser rows are left to the caller (selectedBrowserRows).
    CacheDeletion deleteSelected(UrlCache& cache,
                                 const std::function<void(const Status&)>& refused) const;
    // The browsers' entries of the selected rows.
    std::vector<BrowserCacheRow> selectedBrowserRows() const;

    // A click on a row toggles its selected flag and makes it the current row.
    void click(int row);
    void setSelected(std::size_t row, bool selected);
    void setCurrent(int row);
    void invertSelection();

    const std::vector<ListRow>& rows() const { return m_rows; }
    int currentRow() const { return m_current; }
    // The browser entry of a row (ListRow::browserRow).
    const BrowserCacheEntry& browserEntry(std::size_t browserRow) const;
    // The browser entry of the current row; none when there is none or it is a URL-cache row.
    std::optional<BrowserCacheRow> currentBrowserRow() const;

    // The row's browser: "Internet Explorer" or the profile's title.
    const std::wstring& browserOf(const ListRow& row) const;
    // The bytes of every row.
    std::uint64_t totalBytes() const { return m_totalBytes; }
    // The text of a row's column (from 0).
    std::wstring text(std::size_t row, std::size_t column) const;

    // The shown order: the row at a place, and sorting by a column (the same again: reversed).
    std::size_t rowAt(std::size_t place) const { return m_order.rowAt(place); }
    void sortBy(int column);
    // Sorts by the column (-1: the listing's order) in the direction given; rows listed
    // afterwards join that order.
    void setSort(int column, bool ascending);
    int sortColumn() const { return m_order.column(); }
    bool ascending() const { return m_order.ascending(); }
    // Type-to-find over the shown order, by the address (findListRow): a place, or -1.
    int find(std::wstring_view wanted, bool partial, int start, bool wrap,
             const Collation& collation) const;

private:
    bool before(std::uint32_t a, std::uint32_t b) const;
    static bool deletedByClear(const ListRow& row, bool deletePasswords);
    void ordered();
    std::size_t browserIndex(const std::wstring& browser, std::string key);

    std::vector<ListRow> m_rows;
    // A browser row's entry: its profile, the batch's entries it is among, and its place there.
    struct BrowserRow {
        std::size_t profile = 0;
        std::uint32_t batch = 0;
        std::uint32_t index = 0;
    };
    BrowserCacheRow browserCacheRow(const BrowserRow& row) const;

    std::vector<BrowserRow> m_browserRows;
    std::vector<CacheEntries> m_batches;
    std::vector<std::size_t> m_rowBrowser;     // per browser row: its place in m_browsers
    std::vector<std::uint32_t> m_addressRows;  // the rows awaiting an address, by number
    std::vector<std::wstring> m_browsers{kUrlCacheBrowser};
    std::vector<std::string> m_browserKeys{std::string()};
    std::uint64_t m_totalBytes = 0;
    int m_current = -1;
    ListOrder m_order;
};

// True when a cache row names a stored cookie or password and is spared by "Clear Cache".
bool isCookieRow(const std::wstring& text);

// "Code Cache (folder, 3 files)": a browser's cache folder shown as one row.
std::wstring cacheFolderText(const BrowserCacheEntry& entry);
// What a browser's cache row shows: the entry's address, the folder's text, or for an entry that
// names no address "(no address) 3f2a9c01e4d5b6a7_0".
std::wstring cacheRowText(const BrowserCacheEntry& entry);

}  // namespace purgeon
