// The Cache tab's list: the URL-cache entries by source name, with selection and current row.
#pragma once

#include <string>
#include <vector>

#include "platform/url_cache.h"

namespace purgeon {

struct ListRow {
    std::wstring text;
    bool selected = false;
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

    // Deletes the entry of every listed row, first to last. Unless deletePasswords is set, rows
    // whose text contains "Cookie" (exactly so, case counts) are spared. Rows stay as they are;
    // the caller refills.
    CacheDeletion deleteListed(UrlCache& cache, bool deletePasswords) const;

    // Deletes the entry of the current row only, whatever else is selected. No current row:
    // nothing is deleted, which is success.
    Status deleteCurrent(UrlCache& cache) const;

    // A click on a row toggles its selected flag and makes it the current row.
    void click(int row);
    void invertSelection();

    const std::vector<ListRow>& rows() const { return m_rows; }
    int currentRow() const { return m_current; }

private:
    std::vector<ListRow> m_rows;
    int m_current = -1;
};

// True when a cache row names a stored cookie or password and is spared by "Clear Cache".
bool isCookieRow(const std::wstring& text);

}  // namespace purgeon
