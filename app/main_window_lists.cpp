// The main window's lists: cookies, cache and history, of the cookie folder, the URL cache and
// history store and of the ticked browsers, and deleting from them through the run loop.
#include "app/busy_scope.h"
#include "app/clean_summary.h"
#include "app/main_window.h"
#include "app/program.h"
#include "browsers/browser_cache.h"
#include "browsers/browser_cookies.h"
#include "browsers/browser_history.h"
#include "clean/browser_area.h"
#include "clean/browser_areas.h"
#include "clean/cache_area.h"
#include "clean/cookie_area.h"
#include "clean/failure_text.h"
#include "clean/history_area.h"
#include "product/product.h"
#include "wipe/wipe_report.h"

namespace purgeon {

namespace {

// The status text while a list is being listed.
constexpr wchar_t kListingText[] = L"Listing...";
// The browsers' cache entries are handed to the list a batch at a time, and read by several
// threads at once: under Wine each entry file's open waits on the system's server.
constexpr std::size_t kCacheBatch = 512;
constexpr std::size_t kCacheReaders = 4;

// "Cache Contents: 1,204 entries, 54.2 MB"
std::wstring cacheTotalText(const CacheList& list) {
    const std::size_t count = list.rows().size();
    return L"Cache Contents: " + std::to_wstring(count) +
           (count == 1 ? L" entry, " : L" entries, ") + sizeText(list.totalBytes());
}

// The bytes of the cookie folder's files on the list.
std::uint64_t cookieFileBytes(const CookieList& list) {
    std::uint64_t bytes = 0;
    for (const CookieRow& row : list.rows())
        if (!row.fromBrowser()) bytes += row.bytes;
    return bytes;
}

// The ticked profiles with their places in the program's list, copied for a listing's worker.
std::vector<std::pair<std::size_t, BrowserProfile>> tickedProfiles(
    const std::vector<BrowserChoice>& choices) {
    std::vector<std::pair<std::size_t, BrowserProfile>> ticked;
    for (std::size_t index = 0; index < choices.size(); ++index)
        if (choices[index].ticked) ticked.emplace_back(index, choices[index].profile);
    return ticked;
}

}  // namespace

// Listings.

void FrmMain::startListing(std::unique_ptr<ListingRunner>& runner, ListingWork work) {
    if (!runner) runner = m_program.createListingRunner();
    runner->start(std::move(work), [this] { showListingStatus(); });
    showListingStatus();
}

void FrmMain::awaitListing(const std::unique_ptr<ListingRunner>& runner) {
    if (runner && runner->running()) runner->wait();
}

bool FrmMain::listing() const {
    for (const auto* runner : {&m_cookieListing, &m_cacheListing, &m_historyListing})
        if (*runner && (*runner)->running()) return true;
    return m_applications && m_applications->listing();
}

void FrmMain::stopListings() {
    for (auto* runner : {&m_cookieListing, &m_cacheListing, &m_historyListing})
        if (*runner) (*runner)->stop();
    if (m_applications) m_applications->stopListing();
    showListingStatus();
}

void FrmMain::showListingStatus() {
    const bool any = listing();
    if (any && m_statusText.empty()) {
        setStatusText(kListingText);
    } else if (!any && m_statusText == kListingText) {
        setStatusText(L"");
    }
}

// Cookies.

void FrmMain::loadCookiesList() {
    // Listed afresh in the order the user chose.
    const Collation& collation = m_program.services().collation;
    CookieList emptied;
    emptied.setSort(m_cookies.sortColumn(), m_cookies.ascending(), collation);
    m_cookies = std::move(emptied);
    m_view->showCookieRows(m_cookies);
    CleanContext context = m_program.cleanContext(m_options);
    m_cookieFolder = cookieFolder(context);
    setText(Ctl::txtCookieDir, m_cookieFolder);
    EnumCookies(m_cookieFolder);
}

void FrmMain::EnumCookies(const std::wstring& folder) {
    FileSystem& files = m_program.services().files;
    const bool includeIndexDat = m_program.state().includeIndexDat;
    auto profiles = tickedProfiles(m_program.browsers().choices());
    startListing(m_cookieListing, [this, &files, folder, includeIndexDat,
                                   profiles = std::move(profiles)](std::stop_token stop,
                                                                   const ListingHand& hand) {
        auto listed = std::make_shared<CookieList>();
        const Status status = listed->load(files, folder, includeIndexDat, [] {});
        hand([this, listed, status, folder] {
            m_program.logFailure(L"Cookies: " + folder + L" could not be listed", status);
            listed->setSort(m_cookies.sortColumn(), m_cookies.ascending(),
                            m_program.services().collation);
            m_cookies = std::move(*listed);
            m_view->showCookieRows(m_cookies);
        });
        for (const auto& [index, profile] : profiles) {
            if (stop.stop_requested()) return;
            auto cookies = std::make_shared<std::vector<BrowserCookie>>();
            std::wstring error = listBrowserCookies(files, profile, *cookies);
            hand([this, cookies, error = std::move(error), index = index, title = profile.title()] {
                if (!error.empty())
                    m_program.log().write(L"Cookies: " + title + L": not listed: " + error);
                m_cookies.appendBrowserCookies(title, index, *cookies,
                                               &m_program.services().collation);
                m_view->showCookieRows(m_cookies);
            });
        }
    });
}

void FrmMain::deletecookies(bool interactive) {
    m_program.state().includeIndexDat = false;
    Services& s = m_program.services();
    if (interactive &&
        s.dialogs.messageBox(L"Are you sure you wish to delete the selected cookies?",
                             L"Delete Cookies", kMbYesNo | kMbIconQuestion) != kIdYes) {
        return;
    }
    awaitListing(m_cookieListing);  // the run acts on the whole list
    if (m_cookies.rows().empty()) return;
    // The cookie folder's files first, then the browsers' cookies: a refusal of the folder is
    // told before those go.
    const ShownLists shown{nullptr, &m_cookies, &m_cookieFolder, interactive};
    CleanReport report;
    {
        BusyScope busy(*this);
        // The files' rows leave the list as their files go: what left is what was freed.
        const std::uint64_t before = cookieFileBytes(m_cookies);
        report.entries.push_back({&kCookieArea, runArea(kCookieArea, shown, false)});
        AreaResult& files = report.entries.back().result;
        if (files.ran) {
            files.bytes = before - cookieFileBytes(m_cookies);
            m_view->showCookieRows(m_cookies);
        }
    }
    // A refused cookie folder keeps its files (the log and the summary say so); the browsers'
    // cookies go all the same.
    if (m_program.browsers().anyTicked()) {
        BusyScope busy(*this);
        report.entries.push_back({&kBrowserCookiesArea, runArea(kBrowserCookiesArea, shown)});
    }
    if (interactive) tellSummary(report);
}

void FrmMain::cmddelcookies_Click() {
    BusyScope busy(*this, L"Deleting cookies...", false);
    deletecookies(true);
    loadCookiesList();
}

void FrmMain::cmdselectallcookies_Click() {
    m_cookies.selectAll();
    m_view->showCookieSelection(m_cookies);
    m_view->focus(Ctl::lstcookies);
}

void FrmMain::cmdselectnocookies_Click() {
    m_cookies.selectNone();
    m_view->showCookieSelection(m_cookies);
}

void FrmMain::cmdinvertcookiesselection_Click() {
    m_cookies.invertSelection();
    m_view->showCookieSelection(m_cookies);
    m_view->focus(Ctl::lstcookies);
}

void FrmMain::lstcookies_ItemSelected(int row, bool selected) {
    if (row >= 0) m_cookies.setSelected(static_cast<size_t>(row), selected);
}

void FrmMain::lstcookies_ColumnClick(int column) {
    m_cookies.sortBy(column - 1, m_program.services().collation);
    m_view->showCookieRows(m_cookies);
}

// Cache.

void FrmMain::loadCacheContents() { GetCacheURLList(); }

void FrmMain::GetCacheURLList() {
    // Listed afresh in the order the user chose.
    const int column = m_cache.sortColumn();
    const bool ascending = m_cache.ascending();
    m_cache = CacheList();
    m_cache.setSort(column, ascending);
    m_view->showCacheRows(m_cache);
    showCacheTotal();
    Services& s = m_program.services();
    UrlCache& urlCache = s.urlCache;
    FileSystem& files = s.files;
    const Collation& collation = s.collation;
    auto profiles = tickedProfiles(m_program.browsers().choices());
    startListing(
        m_cacheListing, [this, &urlCache, &files, &collation, profiles = std::move(profiles),
                         column, ascending](std::stop_token stop, const ListingHand& hand) {
            auto listed = std::make_shared<CacheList>();
            listed->setSort(column, ascending);
            const Status status = listed->refill(urlCache, &collation);
            hand([this, listed, status] {
                m_program.logFailure(L"Cache: the listing stopped early", status);
                m_cache = std::move(*listed);
                m_view->showCacheRows(m_cache);
                showCacheTotal();
            });
            for (const auto& [index, profile] : profiles) {
                const std::wstring title = profile.title();
                listBrowserCache(
                    files, profile,
                    [&, index = index](std::vector<BrowserCacheEntry> entries) {
                        auto batch = std::make_shared<CacheBatch>(
                            CacheList::batchOf(title, index, std::move(entries), collation));
                        hand([this, batch] {
                            m_cache.add(std::move(*batch));
                            m_view->showCacheRows(m_cache);
                            showCacheTotal();
                        });
                    },
                    stop, kCacheBatch, kCacheReaders);
                if (stop.stop_requested()) return;
            }
        });
}

void FrmMain::showCacheTotal() { m_view->setText(Ctl::Frame3, cacheTotalText(m_cache)); }

void FrmMain::deletecache(bool interactive) {
    awaitListing(m_cacheListing);  // the run acts on the whole list
    // What the list shows for the clear to take: its size is what was freed when all of it went.
    const CacheDeletion listed =
        m_cache.listedForDeletion(optionValue(m_options, L"delcachedpasswords") == 1);
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

// The automatic run's steps on the window's lists.

ShownLists FrmMain::shownLists() { return ShownLists{&m_cache, &m_cookies, &m_cookieFolder}; }

void FrmMain::runStarting(const Area& area) {
    if (&area == &kCacheArea) {
        GetCacheURLList();
        awaitListing(m_cacheListing);
    } else if (&area == &kCookieArea) {
        loadCookiesList();
        awaitListing(m_cookieListing);
        if (m_cookies.rows().empty()) return;  // nothing to delete, nothing to wait for
    } else {
        // A history listing reads the databases the clear changes: what it listed stays.
        if (&area == &kHistoryArea && m_historyListing) m_historyListing->stop();
        showListingStatus();
        return;
    }
    m_busyForRun = true;
    setBusy(true);
}

void FrmMain::runFinished(const Area& area, const AreaResult& result) {
    if (!m_busyForRun) return;
    m_busyForRun = false;
    if (result.ran) {
        if (&area == &kCacheArea) {
            GetCacheURLList();
        } else {
            m_view->showCookieRows(m_cookies);
        }
    }
    setBusy(false);
}

// Browser history.

void FrmMain::loadURLHistory() {
    if (m_historyListing) m_historyListing->stop();
    m_history.clear();
    Services& s = m_program.services();
    // The history store is a COM object of the window's thread: it is read here, and it is small.
    if (CURLHistory* history = m_program.state().history.get()) {
        try {
            history->Refresh();
            m_history.add(historyStoreBatch(*history, s.collation));
        } catch (const HistoryError& error) {
            m_history.clear();  // a store that cannot be read shows an empty list
            m_program.log().write(L"History: not listed: the store answered " +
                                  hresultText(error.code()) + L".");
        }
    }
    m_view->showHistoryRows(m_history);
    FileSystem& files = s.files;
    DateText& dates = s.dates;
    const Collation& collation = s.collation;
    auto profiles = tickedProfiles(m_program.browsers().choices());
    startListing(
        m_historyListing, [this, &files, &dates, &collation, profiles = std::move(profiles)](
                              std::stop_token stop, const ListingHand& hand) {
            for (const auto& [index, profile] : profiles) {
                const std::wstring title = profile.title();
                const std::string titleKey = collation.sortKey(title);
                std::wstring error = listBrowserHistory(
                    files, profile,
                    [&](std::vector<BrowserVisit> visits) {
                        auto batch = std::make_shared<HistoryBatch>();
                        batch->browser = title;
                        batch->browserKey = titleKey;
                        batch->entries.reserve(visits.size());
                        for (BrowserVisit& visit : visits) {
                            double date = HistoryEntry::kNoDate;
                            if (visit.lastVisited == 0 || !dates.localDate(visit.lastVisited, date))
                                date = HistoryEntry::kNoDate;
                            batch->entries.push_back(browserHistoryEntry(
                                std::move(visit.title), std::move(visit.url), date, collation));
                        }
                        hand([this, batch] {
                            m_history.add(std::move(*batch));
                            m_view->showHistoryRows(m_history);
                        });
                    },
                    stop);
                if (!error.empty()) {
                    hand([this, title, error = std::move(error)] {
                        m_program.log().write(L"History: " + title + L": not listed: " + error);
                    });
                }
                if (stop.stop_requested()) return;
            }
        });
}

std::wstring FrmMain::historyText(std::size_t place, std::size_t column) {
    return m_history.text(place, column, m_program.services().dates);
}

void FrmMain::cmdClearHistory_Click() {
    // The listing reads the databases the clear changes: what it listed stays shown.
    if (m_historyListing) m_historyListing->stop();
    showListingStatus();
    CleanReport report;
    {
        BusyScope busy(*this, L"Clearing History...");
        report.entries.push_back({&kHistoryArea, runArea(kHistoryArea)});
    }
    tellSummary(report);
}

void FrmMain::URLs_ColumnClick(int column) {
    m_history.sortBy(column - 1);
    m_view->showHistoryRows(m_history);
}

}  // namespace purgeon
