// Listing and deleting URL-cache entries for the Cache tab.
#include "areas/cache_list.h"

#include <algorithm>

#include "wipe/wipe_report.h"
#include "wipe/wipe_target.h"

namespace purgeon {

bool isCookieRow(const std::wstring& text) { return text.find(L"Cookie") != std::wstring::npos; }

std::wstring cacheFolderText(const BrowserCacheEntry& entry) {
    const std::wstring name =
        entry.files.empty() ? std::wstring() : lastFolderName(entry.files.front());
    return name + L" (folder, " + std::to_wstring(entry.fileCount) +
           (entry.fileCount == 1 ? L" file)" : L" files)");
}

std::wstring cacheRowText(const BrowserCacheEntry& entry) {
    if (entry.wholeFolder()) return cacheFolderText(entry);
    if (!entry.url.empty() || entry.files.empty()) return entry.url;
    return L"(no address) " + fileNameOf(entry.files.front());
}

namespace {

bool awaitsAddress(const BrowserCacheEntry& entry) {
    return entry.url.empty() && !entry.wholeFolder();
}

CacheEntries shared(std::vector<BrowserCacheEntry> entries) {
    return std::make_shared<const std::vector<BrowserCacheEntry>>(std::move(entries));
}

}  // namespace

Status CacheList::refill(UrlCache& cache, const Collation* collation) {
    m_rows.clear();
    m_browserRows.clear();
    m_batches.clear();
    m_rowBrowser.clear();
    m_addressRows.clear();
    m_browsers.resize(1);
    m_browserKeys.resize(1);
    if (collation) m_browserKeys[0] = collation->sortKey(kUrlCacheBrowser);
    m_totalBytes = 0;
    m_current = -1;
    m_order.clear();
    const Status walked = cache.enumerate([&](const UrlCacheEntry& entry) {
        if ((entry.type & kNormalCacheEntry) == 0) return;
        ListRow row{entry.sourceUrlName, false, -1, entry.size, {}};
        if (collation) row.key = collation->sortKey(row.text);
        m_totalBytes += entry.size;
        m_rows.push_back(std::move(row));
    });
    ordered();
    return walked;
}

bool CacheList::deletedByClear(const ListRow& row, bool deletePasswords) {
    return row.browserRow < 0 && (deletePasswords || !isCookieRow(row.text));
}

CacheDeletion CacheList::listedForDeletion(bool deletePasswords) const {
    CacheDeletion deletion;
    for (const ListRow& row : m_rows) {
        if (!deletedByClear(row, deletePasswords)) continue;
        ++deletion.removed;
        deletion.bytes += row.bytes;
    }
    return deletion;
}

CacheDeletion CacheList::deleteListed(UrlCache& cache, bool deletePasswords) const {
    CacheDeletion deletion;
    for (const ListRow& row : m_rows) {
        if (!deletedByClear(row, deletePasswords)) continue;
        if (cache.remove(row.text)) {
            ++deletion.removed;
            deletion.bytes += row.bytes;
        } else {
            ++deletion.refused;
        }
    }
    return deletion;
}

CacheDeletion CacheList::deleteSelected(UrlCache& cache,
                                        const std::function<void(const Status&)>& refused) const {
    CacheDeletion deletion;
    for (const ListRow& row : m_rows) {
        if (!row.selected || row.browserRow >= 0) continue;
        if (const Status removed = cache.remove(row.text); removed) {
            ++deletion.removed;
            deletion.bytes += row.bytes;
        } else {
            ++deletion.refused;
            refused(removed);
        }
    }
    return deletion;
}

std::vector<BrowserCacheRow> CacheList::selectedBrowserRows() const {
    std::vector<BrowserCacheRow> selected;
    for (const ListRow& row : m_rows)
        if (row.selected && row.browserRow >= 0)
            selected.push_back(
                browserCacheRow(m_browserRows[static_cast<std::size_t>(row.browserRow)]));
    return selected;
}

const BrowserCacheEntry& CacheList::browserEntry(std::size_t browserRow) const {
    const BrowserRow& row = m_browserRows[browserRow];
    return (*m_batches[row.batch])[row.index];
}

BrowserCacheRow CacheList::browserCacheRow(const BrowserRow& row) const {
    return {row.profile, (*m_batches[row.batch])[row.index]};
}

CacheBatch CacheList::batchOf(const std::wstring& browser, std::size_t profile,
                              CacheEntries entries, const Collation& collation) {
    CacheBatch batch{browser, collation.sortKey(browser), profile, std::move(entries), {}};
    batch.keys.reserve(batch.entries->size());
    for (const BrowserCacheEntry& entry : *batch.entries)
        batch.keys.push_back(awaitsAddress(entry) ? std::string()
                                                  : collation.sortKey(cacheRowText(entry)));
    return batch;
}

CacheBatch CacheList::batchOf(const std::wstring& browser, std::size_t profile,
                              std::vector<BrowserCacheEntry> entries, const Collation& collation) {
    return batchOf(browser, profile, shared(std::move(entries)), collation);
}

void CacheList::appendBrowserEntries(const std::wstring& browser, std::size_t profile,
                                     std::vector<BrowserCacheEntry> entries) {
    add(CacheBatch{browser, {}, profile, shared(std::move(entries)), {}});
}

std::size_t CacheList::browserIndex(const std::wstring& browser, std::string key) {
    const auto found = std::find(m_browsers.begin(), m_browsers.end(), browser);
    if (found != m_browsers.end()) return static_cast<std::size_t>(found - m_browsers.begin());
    m_browsers.push_back(browser);
    m_browserKeys.push_back(std::move(key));
    return m_browsers.size() - 1;
}

void CacheList::add(CacheBatch batch) {
    const std::size_t browser = browserIndex(batch.browser, std::move(batch.browserKey));
    if (!batch.entries) return;
    const auto batchIndex = static_cast<std::uint32_t>(m_batches.size());
    m_batches.push_back(batch.entries);
    for (std::size_t i = 0; i < batch.entries->size(); ++i) {
        const BrowserCacheEntry& entry = (*batch.entries)[i];
        const bool awaits = awaitsAddress(entry);
        std::wstring text = awaits ? std::wstring() : cacheRowText(entry);
        std::string key = i < batch.keys.size() ? std::move(batch.keys[i]) : std::string();
        m_totalBytes += entry.bytes;
        if (awaits) m_addressRows.push_back(static_cast<std::uint32_t>(m_rows.size()));
        m_rows.push_back({std::move(text), false, static_cast<int>(m_browserRows.size()),
                          entry.bytes, std::move(key),
                          awaits ? static_cast<std::int64_t>(m_addressRows.size() - 1) : -1});
        m_browserRows.push_back({batch.profile, batchIndex, static_cast<std::uint32_t>(i)});
        m_rowBrowser.push_back(browser);
    }
    ordered();
}

bool CacheList::setAddresses(std::vector<CacheAddressRow> addresses) {
    std::vector<std::uint32_t> changed;
    changed.reserve(addresses.size());
    for (CacheAddressRow& address : addresses) {
        if (address.entry >= m_addressRows.size()) continue;
        const std::uint32_t place = m_addressRows[address.entry];
        ListRow& row = m_rows[place];
        if (row.addressToCome != static_cast<std::int64_t>(address.entry)) continue;
        // The row shows the address; the entry, shared with the listing, stays as it was listed.
        const BrowserCacheEntry& entry = browserEntry(static_cast<std::size_t>(row.browserRow));
        row.text = address.url.empty() ? cacheRowText(entry) : std::move(address.url);
        row.key = std::move(address.key);
        row.addressToCome = -1;
        changed.push_back(place);
    }
    if (m_order.column() != 0 || changed.empty()) return false;
    m_order.changed(changed, [this](std::uint32_t a, std::uint32_t b) { return before(a, b); });
    return true;
}

const std::wstring& CacheList::browserOf(const ListRow& row) const {
    return row.browserRow < 0 ? m_browsers[0]
                              : m_browsers[m_rowBrowser[static_cast<std::size_t>(row.browserRow)]];
}

std::wstring CacheList::text(std::size_t row, std::size_t column) const {
    if (row >= m_rows.size()) return {};
    const ListRow& shown = m_rows[row];
    switch (column) {
        case 0:
            return shown.text;
        case 1:
            return browserOf(shown);
        case 2:
            return sizeText(shown.bytes);
        default:
            return {};
    }
}

bool CacheList::before(std::uint32_t a, std::uint32_t b) const {
    const ListRow& x = m_rows[a];
    const ListRow& y = m_rows[b];
    switch (m_order.column()) {
        case 0:
            return keyBefore(x.key, y.key);
        case 1: {
            const auto browser = [&](const ListRow& row) -> const std::string& {
                return row.browserRow < 0
                           ? m_browserKeys[0]
                           : m_browserKeys[m_rowBrowser[static_cast<std::size_t>(row.browserRow)]];
            };
            return keyBefore(browser(x), browser(y));
        }
        case 2:
            return x.bytes < y.bytes;
        default:
            return false;
    }
}

void CacheList::ordered() {
    m_order.added(m_rows.size(), [this](std::uint32_t a, std::uint32_t b) { return before(a, b); });
}

void CacheList::sortBy(int column) {
    if (column < 0 || column >= static_cast<int>(kCacheColumns)) return;
    m_order.sortBy(column, [this](std::uint32_t a, std::uint32_t b) { return before(a, b); });
}

int CacheList::find(std::wstring_view wanted, bool partial, int start, bool wrap,
                    const Collation& collation) const {
    return findListRow(
        m_rows.size(),
        [this](std::size_t place) -> const std::wstring& { return m_rows[rowAt(place)].text; },
        wanted, partial, start, wrap, collation);
}

void CacheList::setSort(int column, bool ascending) {
    if (column < kListingOrder || column >= static_cast<int>(kCacheColumns)) return;
    m_order.setSort(column, ascending,
                    [this](std::uint32_t a, std::uint32_t b) { return before(a, b); });
}

std::optional<BrowserCacheRow> CacheList::currentBrowserRow() const {
    if (m_current < 0 || m_current >= static_cast<int>(m_rows.size())) return std::nullopt;
    const int browserRow = m_rows[static_cast<size_t>(m_current)].browserRow;
    if (browserRow < 0) return std::nullopt;
    return browserCacheRow(m_browserRows[static_cast<size_t>(browserRow)]);
}

void CacheList::click(int row) {
    if (row < 0 || row >= static_cast<int>(m_rows.size())) return;
    m_rows[static_cast<size_t>(row)].selected = !m_rows[static_cast<size_t>(row)].selected;
    m_current = row;
}

void CacheList::setSelected(std::size_t row, bool selected) {
    if (row < m_rows.size()) m_rows[row].selected = selected;
}

void CacheList::setCurrent(int row) {
    m_current = row >= 0 && row < static_cast<int>(m_rows.size()) ? row : -1;
}

void CacheList::invertSelection() {
    for (ListRow& row : m_rows) row.selected = !row.selected;
}

}  // namespace purgeon
