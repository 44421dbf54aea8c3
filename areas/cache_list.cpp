// Listing and deleting URL-cache entries for the Cache tab.
#include "areas/cache_list.h"

#include "wipe/wipe_report.h"

namespace purgeon {

bool isCookieRow(const std::wstring& text) { return text.find(L"Cookie") != std::wstring::npos; }

Status CacheList::refill(UrlCache& cache) {
    m_rows.clear();
    m_browserRows.clear();
    m_current = -1;
    return cache.enumerate([this](const UrlCacheEntry& entry) {
        if (entry.type & kNormalCacheEntry) m_rows.push_back({entry.sourceUrlName, false});
    });
}

CacheDeletion CacheList::deleteListed(UrlCache& cache, bool deletePasswords) const {
    CacheDeletion deletion;
    for (const ListRow& row : m_rows) {
        if (row.browserRow >= 0 || (!deletePasswords && isCookieRow(row.text))) continue;
        if (cache.remove(row.text)) {
            ++deletion.removed;
        } else {
            ++deletion.refused;
        }
    }
    return deletion;
}

Status CacheList::deleteCurrent(UrlCache& cache) const {
    if (m_current < 0 || m_current >= static_cast<int>(m_rows.size())) return Status::success();
    if (currentBrowserRow()) return Status::success();
    return cache.remove(m_rows[static_cast<size_t>(m_current)].text);
}

void CacheList::appendBrowserEntries(const std::wstring& browser, std::size_t profile,
                                     std::vector<BrowserCacheEntry> entries) {
    for (BrowserCacheEntry& entry : entries) {
        std::wstring text = L"[" + browser + L"] ";
        if (entry.url.empty()) {
            text += lastFolderName(entry.files.front()) + L": " + std::to_wstring(entry.fileCount) +
                    L" files, " + sizeText(entry.bytes);
        } else {
            text += entry.url;
        }
        m_rows.push_back({std::move(text), false, static_cast<int>(m_browserRows.size())});
        m_browserRows.push_back({profile, std::move(entry)});
    }
}

const BrowserCacheRow* CacheList::currentBrowserRow() const {
    if (m_current < 0 || m_current >= static_cast<int>(m_rows.size())) return nullptr;
    const int browserRow = m_rows[static_cast<size_t>(m_current)].browserRow;
    return browserRow < 0 ? nullptr : &m_browserRows[static_cast<size_t>(browserRow)];
}

void CacheList::click(int row) {
    if (row < 0 || row >= static_cast<int>(m_rows.size())) return;
    m_rows[static_cast<size_t>(row)].selected = !m_rows[static_cast<size_t>(row)].selected;
    m_current = row;
}

void CacheList::invertSelection() {
    for (ListRow& row : m_rows) row.selected = !row.selected;
}

}  // namespace purgeon
