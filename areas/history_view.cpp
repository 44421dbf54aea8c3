// The history list's rows, texts and order.
#include "areas/history_view.h"

#include <algorithm>

namespace purgeon {

std::wstring generalDateText(DateText& text, double value) {
    const double day = std::trunc(value);
    if (day == 0.0) return text.longTime(value);
    if (value == day) return text.shortDate(value);
    return text.shortDate(value) + L" " + text.longTime(value);
}

namespace {

std::uint32_t size32(std::size_t size) { return static_cast<std::uint32_t>(size); }

}  // namespace

HistoryBatch::HistoryBatch(std::wstring browser, const Collation& collation)
    : m_browser(std::move(browser)), m_browserKey(collation.sortKey(m_browser)) {}

void HistoryBatch::add(std::wstring_view title, std::wstring_view url, HistoryEntry entry,
                       const Collation& collation) {
    entry.text = size32(m_texts.size());
    entry.titleLength = size32(title.size());
    entry.urlLength = size32(url.size());
    m_texts.append(title).append(url);
    const std::string titleKey = collation.sortKey(title);
    const std::string urlKey = collation.sortKey(url);
    entry.key = size32(m_keys.size());
    entry.titleKeyLength = size32(titleKey.size());
    entry.urlKeyLength = size32(urlKey.size());
    m_keys.append(titleKey).append(urlKey);
    m_entries.push_back(entry);
}

HistoryBatch historyStoreBatch(const CURLHistory& history, const Collation& collation) {
    HistoryBatch batch(kHistoryStoreBrowser, collation);
    for (const auto& item : history) {
        // Each property read once, in column order.
        const std::wstring title = item->Title();
        const std::wstring url = item->URL();
        HistoryEntry entry;
        entry.visited = item->LastVisited();
        entry.updated = item->LastUpdated();
        entry.expires = item->Expires();
        entry.flags = static_cast<std::int32_t>(item->Flags());
        batch.add(title, url, entry, collation);
    }
    return batch;
}

void HistoryList::clear() {
    m_entries.clear();
    m_entries.shrink_to_fit();
    m_blocks.clear();
    m_blocks.shrink_to_fit();
    m_browsers.clear();
    m_browserKeys.clear();
    m_order.clear();
}

std::uint32_t HistoryList::browserIndex(const std::wstring& browser, std::string key) {
    const auto found = std::find(m_browsers.begin(), m_browsers.end(), browser);
    if (found != m_browsers.end()) return size32(found - m_browsers.begin());
    m_browsers.push_back(browser);
    m_browserKeys.push_back(std::move(key));
    return size32(m_browsers.size() - 1);
}

void HistoryList::add(HistoryBatch batch) {
    const std::uint32_t browser = browserIndex(batch.m_browser, std::move(batch.m_browserKey));
    const std::uint32_t block = size32(m_blocks.size());
    // The blocks grew as the batch was made: what they hold stays, the room to spare goes.
    batch.m_texts.shrink_to_fit();
    batch.m_keys.shrink_to_fit();
    m_blocks.push_back({std::move(batch.m_texts), std::move(batch.m_keys)});
    for (HistoryEntry& entry : batch.m_entries) {
        entry.browser = browser;
        entry.block = block;
        m_entries.push_back(entry);
    }
    m_order.added(m_entries.size(),
                  [this](std::uint32_t a, std::uint32_t b) { return before(a, b); });
}

std::wstring_view HistoryList::title(const HistoryEntry& entry) const {
    return {m_blocks[entry.block].texts.data() + entry.text, entry.titleLength};
}

std::wstring_view HistoryList::url(const HistoryEntry& entry) const {
    return {m_blocks[entry.block].texts.data() + entry.text + entry.titleLength, entry.urlLength};
}

std::string_view HistoryList::titleKey(const HistoryEntry& entry) const {
    return {m_blocks[entry.block].keys.data() + entry.key, entry.titleKeyLength};
}

std::string_view HistoryList::urlKey(const HistoryEntry& entry) const {
    return {m_blocks[entry.block].keys.data() + entry.key + entry.titleKeyLength,
            entry.urlKeyLength};
}

bool HistoryList::before(std::uint32_t a, std::uint32_t b) const {
    const HistoryEntry& x = m_entries[a];
    const HistoryEntry& y = m_entries[b];
    switch (m_order.column()) {
        case 0:
            return keyBefore(titleKey(x), titleKey(y));
        case 1:
            return keyBefore(urlKey(x), urlKey(y));
        case 2:
            return x.visited < y.visited;
        case 3:
            return x.updated < y.updated;
        case 4:
            return x.expires < y.expires;
        case 5:
            return x.flags < y.flags;  // rows without flags first
        case 6:
            return keyBefore(m_browserKeys[x.browser], m_browserKeys[y.browser]);
        default:
            return false;
    }
}

int HistoryList::find(std::wstring_view wanted, bool partial, int start, bool wrap,
                      const Collation& collation) const {
    return findListRow(
        size(), [this](std::size_t place) { return title(place); }, wanted, partial, start, wrap,
        collation);
}

void HistoryList::sortBy(int column) {
    if (column < 0 || column >= static_cast<int>(kHistoryColumns)) return;
    m_order.sortBy(column, [this](std::uint32_t a, std::uint32_t b) { return before(a, b); });
}

std::wstring HistoryList::text(std::size_t place, std::size_t column, DateText& dates) const {
    if (place >= m_entries.size()) return {};
    const HistoryEntry& entry = shown(place);
    const auto date = [&](double value) {
        return value == HistoryEntry::kNoDate ? std::wstring() : generalDateText(dates, value);
    };
    switch (column) {
        case 0:
            return std::wstring(title(entry));
        case 1:
            return std::wstring(url(entry));
        case 2:
            return date(entry.visited);
        case 3:
            return date(entry.updated);
        case 4:
            return date(entry.expires);
        case 5:
            return entry.flags ? std::to_wstring(*entry.flags) : std::wstring();
        case 6:
            return m_browsers[entry.browser];
        default:
            return {};
    }
}

}  // namespace purgeon
