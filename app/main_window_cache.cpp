// The main window's cache list: of the URL cache and the ticked browsers, its total, its
// selection, its order, and deleting from it, all of it or the selected entries.
#include "app/busy_scope.h"
#include "app/main_window.h"
#include "app/program.h"
#include "browsers/browser_cache.h"
#include "browsers/cache_address_reading.h"
#include "clean/browser_areas.h"
#include "clean/cache_area.h"
#include "prefs/preferences.h"
#include "wipe/wipe_report.h"

namespace purgeon {

namespace {

// The addresses of the browsers' cache entries are handed to the list a batch at a time, and read
// by several threads at once: under Wine each entry file's open waits on the system's server.
constexpr std::size_t kCacheBatch = 512;
constexpr std::size_t kCacheReaders = 4;

// "Cache Contents: 1,204 entries, 54.2 MB"
std::wstring cacheTotalText(const CacheList& list) {
    const std::size_t count = list.rows().size();
    return L"Cache Contents: " + std::to_wstring(count) +
           (count == 1 ? L" entry, " : L" entries, ") + sizeText(list.totalBytes());
}

// The rows' addresses as read, with the keys of the texts they give the rows (off the window's
// thread); an entry naming none shows its file's name.
std::vector<CacheAddressRow> addressRows(std::vector<CacheAddress> read,
                                         const std::vector<const FoundBrowserCache*>& found,
                                         const Collation& collation) {
    std::vector<CacheAddressRow> rows;
    rows.reserve(read.size());
    for (CacheAddress& address : read) {
        const std::wstring text = address.url.empty()
                                      ? cacheRowText(found[address.cache]->entries[address.index])
                                      : address.url;
        rows.push_back({address.entry, std::move(address.url), collation.sortKey(text)});
    }
    return rows;
}

}  // namespace

void FrmMain::loadCacheContents() { GetCacheURLList(); }

void FrmMain::GetCacheURLList() {
    // Listed afresh in the order the user chose.
    const int column = m_cache.sortColumn();
    const bool ascending = m_cache.ascending();
    m_cache = CacheList();
    m_cache.setSort(column, ascending);
    m_view->showCacheRows(m_cache);
    showCacheTotal();
    auto addresses = std::make_shared<CacheAddressQueue>();
    m_cacheAddresses = addresses;
    startListing(m_cacheListing, [this, profiles = tickedProfiles(), column, ascending, addresses](
                                     std::stop_token stop, const ListingHand& hand) {
        listCache(stop, hand, profiles, column, ascending, *addresses);
    });
}

void FrmMain::listCache(std::stop_token stop, const ListingHand& hand,
                        const std::vector<std::pair<std::size_t, BrowserProfile>>& profiles,
                        int column, bool ascending, CacheAddressQueue& addresses) {
    Services& s = m_program.services();
    FileSystem& files = s.files;
    const Collation& collation = s.collation;
    auto listed = std::make_shared<CacheList>();
    listed->setSort(column, ascending);
    const Status status = listed->refill(s.urlCache, &collation);
    hand([this, listed, status] {
        m_program.logFailure(L"Cache: the listing stopped early", status);
        m_cache = std::move(*listed);
        m_view->showCacheRows(m_cache);
        showCacheTotal();
    });
    // Every entry first, by the names of its files: the rows, their sizes and the total come at
    // once. Then the addresses, each of which takes an open of its entry's file.
    // The list keeps the same entries, not a copy of them.
    std::vector<std::shared_ptr<const FoundBrowserCache>> found;
    std::vector<const FoundBrowserCache*> caches;
    found.reserve(profiles.size());
    for (const auto& [index, profile] : profiles) {
        if (stop.stop_requested()) return;
        found.push_back(
            std::make_shared<const FoundBrowserCache>(findBrowserCache(files, profile)));
        caches.push_back(found.back().get());
        const CacheEntries entries(found.back(), &found.back()->entries);
        auto batch = std::make_shared<CacheBatch>(
            CacheList::batchOf(profile.title(), index, entries, collation));
        hand([this, batch] {
            m_cache.add(std::move(*batch));
            m_view->showCacheRows(m_cache);
            showCacheTotal();
        });
    }
    readCacheAddresses(
        files, caches, addresses,
        [&](std::vector<CacheAddress> read) {
            auto rows = std::make_shared<std::vector<CacheAddressRow>>(
                addressRows(std::move(read), caches, collation));
            hand([this, rows] {
                if (m_cache.setAddresses(std::move(*rows))) {
                    m_view->showCacheRows(m_cache);
                } else {
                    m_view->showCacheTexts(m_cache);
                }
            });
        },
        stop, kCacheBatch, kCacheReaders);
}

void FrmMain::showCacheTotal() { m_view->setText(Ctl::Frame3, cacheTotalText(m_cache)); }

void FrmMain::deletecache(bool interactive) {
    awaitListing(m_cacheListing);  // the run acts on the whole list
    // What the list shows for the clear to take: its size is what was freed when all of it went.
    const CacheDeletion listed =
        m_cache.listedForDeletion(optionValue(m_options, kCachedPasswordsKey) == 1);
    CleanReport planned;
    AreaResult plan;
    plan.count = listed.removed;
    plan.bytes = listed.bytes;
    planned.entries.push_back({&kCacheArea, plan});
    CleanReport report;
    {
        BusyScope busy(*this);
        report.entries.push_back({&kCacheArea, runArea(kCacheArea, ShownLists{&m_cache})});
        if (report.entries.back().result.ran) GetCacheURLList();
    }
    if (interactive) tellSummary(report, planned);
}

void FrmMain::invertsel() {
    m_cache.invertSelection();
    m_view->showCacheSelection(m_cache);
}

void FrmMain::cmdDelAllFromCache_Click() {
    BusyScope busy(*this, L"Clearing cache...", false);
    deletecache(true);
}

void FrmMain::cmdDelSelFromCache_Click() {
    awaitListing(m_cacheListing);  // the selection is of the whole list
    // The work deletes from its own copy: the list shown stays as it is until listed afresh.
    const CacheList list = m_cache;
    const std::vector<BrowserCacheRow> browserRows = list.selectedBrowserRows();
    const std::vector<BrowserChoice> choices = m_program.browsers().choices();
    UrlCache& urlCache = m_program.services().urlCache;
    FileSystem& files = m_program.services().files;
    CacheDeletion deletion;
    std::vector<Status> refusals;
    AreaResult result;
    std::size_t removed = 0;
    std::uint64_t bytes = 0;
    if (!m_program.runOperation(
            L"deleting the selected cache entries", [&](std::stop_token, ProgressSink&) {
                deletion = list.deleteSelected(
                    urlCache, [&](const Status& refused) { refusals.push_back(refused); });
                removed = deletion.removed;
                bytes = deletion.bytes;
                BrowserClearing& browsers = result.browsers;
                for (const BrowserCacheRow& row : browserRows) {
                    const BrowserClearing removal = removeBrowserCacheRow(files, choices, row);
                    browsers.lines.insert(browsers.lines.end(), removal.lines.begin(),
                                          removal.lines.end());
                    browsers.inUse.insert(browsers.inUse.end(), removal.inUse.begin(),
                                          removal.inUse.end());
                    browsers.failures.insert(browsers.failures.end(), removal.failures.begin(),
                                             removal.failures.end());
                    if (removal.incomplete || !removal.inUse.empty()) continue;
                    ++removed;
                    bytes += row.entry.bytes;
                }
            })) {
        return;  // another operation runs
    }
    for (const Status& refused : refusals)
        m_program.logFailure(L"Cache: the selected entry was not removed", refused);
    for (const std::wstring& line : result.browsers.lines) m_program.log().write(line);
    result.count = removed;
    result.bytes = bytes;
    if (deletion.refused > 0)
        result.why = std::to_wstring(deletion.refused) + L" refused by the cache";
    result.done = deletion.refused == 0 && result.browsers.failures.empty();
    GetCacheURLList();
    // Nothing selected: nothing to tell.
    if (removed == 0 && result.done && result.browsers.inUse.empty()) return;
    CleanReport report;
    report.entries.push_back({&kCacheArea, std::move(result)});
    tellSummary(report);
}

void FrmMain::cmdinvertcachesel_Click() { invertsel(); }

void FrmMain::List1_RowShown(int place) {
    if (place < 0 || static_cast<std::size_t>(place) >= m_cache.rows().size()) return;
    const std::int64_t entry =
        m_cache.rows()[m_cache.rowAt(static_cast<std::size_t>(place))].addressToCome;
    if (entry >= 0 && m_cacheAddresses) m_cacheAddresses->want(static_cast<std::size_t>(entry));
}

void FrmMain::List1_Click(int row) {
    m_cache.click(row);
    m_view->showCacheSelection(m_cache);
}

void FrmMain::List1_ItemSelected(int row, bool selected) {
    if (row >= 0) m_cache.setSelected(static_cast<std::size_t>(row), selected);
}

void FrmMain::List1_ItemFocused(int row) { m_cache.setCurrent(row); }

void FrmMain::List1_ColumnClick(int column) {
    m_cache.sortBy(column - 1);
    m_view->showCacheRows(m_cache);
}

}  // namespace purgeon
