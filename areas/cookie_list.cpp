// Listing and deleting the cookie files, the rows' columns and their order.
#include "areas/cookie_list.h"

#include <algorithm>
#include <numeric>

#include "areas/list_order.h"
#include "wipe/remove_file.h"
#include "wipe/wipe_report.h"

namespace purgeon {

namespace {

// Whether the cookie file holds a cookie of a kept site. A file that cannot be read is judged by
// nothing and goes, as before there was a keep list.
bool keptFile(FileSystem& files, const std::wstring& path, const CookieKeepList& keep) {
    if (keep.sites().empty()) return false;
    std::string content;
    if (!files.readFile(path, content)) return false;
    for (const std::wstring& host : cookieFileHosts(content))
        if (keep.keeps(host)) return true;
    return false;
}

}  // namespace

Status CookieList::load(FileSystem& files, const std::wstring& folder, bool includeIndexDat,
                        const std::function<void()>& beforeEachFile) {
    m_rows.clear();
    if (folder.empty()) return Status::success();
    const std::wstring base = folder.back() == L'\\' ? folder : folder + L"\\";

    // Built apart and put in place at the end: the pump may run other events meanwhile.
    std::vector<CookieRow> listed;
    const Status status = files.listFolder(base, [&](const DirEntry& entry) {
        if (entry.attributes & kAttrDirectory) return;
        beforeEachFile();
        if (entry.name == kIndexDat && !includeIndexDat) return;
        CookieRow& row = listed.emplace_back(entry.name, base + entry.name);
        row.site = cookieFileSite(entry.name);
        row.bytes = entry.size;
    });
    m_rows = std::move(listed);
    if (!m_rows.empty()) m_rows.back().selected = true;
    return status;
}

CookieDeletion CookieList::deleteFiles(FileSystem& files, bool selectedOnly,
                                       const CookieKeepList& keep) {
    CookieDeletion deletion;
    for (size_t i = m_rows.size(); i-- > 0;) {
        const CookieRow& row = m_rows[i];
        if (row.name.empty() || row.fromBrowser() || (selectedOnly && !row.selected)) continue;
        if (keptFile(files, row.path, keep)) {
            ++deletion.kept;
            continue;
        }
        if (RemoveFile(files, row.path)) {
            m_rows.erase(m_rows.begin() + static_cast<std::ptrdiff_t>(i));
            ++deletion.removed;
        } else {
            ++deletion.failed;
        }
    }
    return deletion;
}

void CookieList::appendBrowserCookies(const std::wstring& browser, std::size_t profile,
                                      const std::vector<BrowserCookie>& cookies,
                                      const Collation* collation) {
    for (const BrowserCookie& cookie : cookies) {
        CookieRow& row = m_rows.emplace_back(cookie.name, cookie.host + cookie.path);
        row.site = cookie.host.starts_with(L'.') ? cookie.host.substr(1) : cookie.host;
        row.bytes = cookie.bytes;
        row.browser = browser;
        row.profile = profile;
        row.cookie = cookie;
    }
    if (collation != nullptr && m_sortColumn >= 0) resort(*collation);
}

void CookieList::sortBy(int column, const Collation& collation) {
    if (column < 0 || column >= static_cast<int>(kCookieColumns)) return;
    m_ascending = column == m_sortColumn ? !m_ascending : true;
    m_sortColumn = column;
    resort(collation);
}

void CookieList::setSort(int column, bool ascending, const Collation& collation) {
    if (column < 0 || column >= static_cast<int>(kCookieColumns)) return;
    m_sortColumn = column;
    m_ascending = ascending;
    resort(collation);
}

void CookieList::resort(const Collation& collation) {
    const auto column = static_cast<std::size_t>(m_sortColumn);
    std::vector<std::string> keys;
    if (column != 3) {
        keys.reserve(m_rows.size());
        for (const CookieRow& row : m_rows)
            keys.push_back(collation.sortKey(cookieColumnText(row, column)));
    }
    const auto less = [&](std::size_t a, std::size_t b) {
        return column == 3 ? m_rows[a].bytes < m_rows[b].bytes : keyBefore(keys[a], keys[b]);
    };
    std::vector<std::size_t> order(m_rows.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return m_ascending ? less(a, b) : less(b, a);
    });
    std::vector<CookieRow> sorted;
    sorted.reserve(m_rows.size());
    for (const std::size_t row : order) sorted.push_back(std::move(m_rows[row]));
    m_rows = std::move(sorted);
}

std::wstring cookieColumnText(const CookieRow& row, std::size_t column) {
    switch (column) {
        case 0:
            return row.site;
        case 1:
            return row.name;
        case 2:
            return row.fromBrowser() ? row.browser : kCookieFolderBrowser;
        case 3:
            return sizeText(row.bytes);
        default:
            return {};
    }
}

std::wstring cookieFileSite(const std::wstring& fileName) {
    std::wstring site = fileName;
    if (const std::size_t at = site.find(L'@'); at != std::wstring::npos) site.erase(0, at + 1);
    if (site.size() > 4 && site.ends_with(L".txt")) site.resize(site.size() - 4);
    if (const std::size_t bracket = site.rfind(L'[');
        bracket != std::wstring::npos && bracket > 0 && site.ends_with(L']'))
        site.resize(bracket);
    return site;
}

int findCookieRow(const std::vector<CookieRow>& rows, std::wstring_view wanted, bool partial,
                  int start, bool wrap, const Collation& collation) {
    return findListRow(
        rows.size(), [&](std::size_t row) -> const std::wstring& { return rows[row].site; }, wanted,
        partial, start, wrap, collation);
}

void CookieList::selectAll() {
    for (CookieRow& row : m_rows) row.selected = true;
}

void CookieList::selectNone() {
    for (CookieRow& row : m_rows) row.selected = false;
}

void CookieList::invertSelection() {
    for (CookieRow& row : m_rows) row.selected = !row.selected;
}

void CookieList::setSelected(size_t row, bool selected) {
    if (row < m_rows.size()) m_rows[row].selected = selected;
}

}  // namespace purgeon
