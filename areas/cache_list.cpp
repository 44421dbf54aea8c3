// Listing and deleting URL-cache entries for the Cache tab.
#include "areas/cache_list.h"

namespace purgeon {

bool isCookieRow(const std::wstring& text) { return text.find(L"Cookie") != std::wstring::npos; }

Status CacheList::refill(UrlCache& cache) {
    m_rows.clear();
    m_current = -1;
    return cache.enumerate([this](const UrlCacheEntry& entry) {
        if (entry.type & kNormalCacheEntry) m_rows.push_back({entry.sourceUrlName, false});
    });
}

CacheDeletion CacheList::deleteListed(UrlCache& cache, bool deletePasswords) const {
    CacheDeletion deletion;
    for (const ListRow& row : m_rows) {
        if (!deletePasswords && isCookieRow(row.text)) continue;
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
    return cache.remove(m_rows[static_cast<size_t>(m_current)].text);
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
