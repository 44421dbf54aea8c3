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

HistoryBatch historyStoreBatch(const CURLHistory& history, const Collation& collation) {
    HistoryBatch batch{kHistoryStoreBrowser, collation.sortKey(kHistoryStoreBrowser), {}};
    for (const auto& item : history) {
        HistoryEntry entry;
        entry.title = item->Title();
        entry.url = item->URL();
        entry.visited = item->LastVisited();
        entry.updated = item->LastUpdated();
        entry.expires = item->Expires();
        entry.flags = static_cast<std::int32_t>(item->Flags());
        entry.titleKey = collation.sortKey(entry.title);
        entry.urlKey = collation.sortKey(entry.url);
        batch.entries.push_back(std::move(entry));
    }
    return batch;
}

HistoryEntry browserHistoryEntry(std::wstring title, std::wstring url, double visited,
                                 const Collation& collation) {
    HistoryEntry entry;
    entry.titleKey = collation.sortKey(title);
    entry.urlKey = collation.sortKey(url);
    entry.title = std::move(title);
    entry.url = std::move(url);
    entry.visited = visited;
    return entry;
}

void HistoryList::clear() {
    m_entries.clear();
    m_entries.shrink_to_fit();
    m_browsers.clear();
    m_browserKeys.clear();
    m_order.clear();
}

std::uint32_t HistoryList::browserIndex(const std::wstring& browser, std::string key) {
    const auto found = std::find(m_browsers.begin(), m_browsers.end(), browser);
    if (found != m_browsers.end()) return static_cast<std::uint32_t>(found - m_browsers.begin());
    m_browsers.push_back(browser);
    m_browserKeys.push_back(std::move(key));
    return static_cast<std::uint32_t>(m_browsers.size() - 1);
}

void HistoryList::add(HistoryBatch batch) {
    const std::uint32_t browser = browserIndex(batch.browser, std::move(batch.browserKey));
    m_entries.reserve(m_entries.size() + batch.entries.size());
    for (HistoryEntry& entry : batch.entries) {
        entry.browser = browser;
        m_entries.push_back(std::move(entry));
    }
    m_order.added(m_entries.size(),
                  [this](std::uint32_t a, std::uint32_t b) { return before(a, b); });
}

bool HistoryList::before(std::uint32_t a, std::uint32_t b) const {
    const HistoryEntry& x = m_entries[a];
    const HistoryEntry& y = m_entries[b];
    switch (m_order.column()) {
        case 0:
            return keyBefore(x.titleKey, y.titleKey);
        case 1:
            return keyBefore(x.urlKey, y.urlKey);
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
        size(), [this](std::size_t place) -> const std::wstring& { return shown(place).title; },
        wanted, partial, start, wrap, collation);
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
            return entry.title;
        case 1:
            return entry.url;
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
