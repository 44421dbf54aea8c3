// Listing and deleting the cookie files.
#include "areas/cookie_list.h"

#include "wipe/remove_file.h"

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
        listed.emplace_back(entry.name, base + entry.name);
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
                                      const std::vector<BrowserCookie>& cookies) {
    for (const BrowserCookie& cookie : cookies) {
        CookieRow& row = m_rows.emplace_back(cookie.name, cookie.host + cookie.path);
        row.browser = browser;
        row.profile = profile;
        row.cookie = cookie;
    }
}

int findCookieRow(const std::vector<CookieRow>& rows, std::wstring_view wanted, bool partial,
                  int start, bool wrap, const Collation& collation) {
    const int count = static_cast<int>(rows.size());
    if (count == 0) return -1;
    if (start < 0 || start >= count) start = 0;
    const int steps = wrap ? count : count - start;
    for (int step = 0; step < steps; ++step) {
        const int index = (start + step) % count;
        const std::wstring& name = rows[static_cast<std::size_t>(index)].name;
        if (partial ? name.size() < wanted.size() : name.size() != wanted.size()) continue;
        if (collation.equalIgnoringCase(std::wstring_view(name).substr(0, wanted.size()), wanted))
            return index;
    }
    return -1;
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
