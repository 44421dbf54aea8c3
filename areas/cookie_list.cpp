// Listing and deleting the cookie files.
#include "areas/cookie_list.h"

#include "wipe/remove_file.h"

namespace purgeon {

void CookieList::load(FileSystem& files, const std::wstring& folder, bool includeIndexDat,
                      const std::function<void()>& beforeEachFile) {
    m_rows.clear();
    if (folder.empty()) return;
    const std::wstring base = folder.back() == L'\\' ? folder : folder + L"\\";

    // Built apart and put in place at the end: the pump may run other events meanwhile.
    std::vector<CookieRow> listed;
    files.listFolder(base, [&](const DirEntry& entry) {
        if (entry.attributes & kAttrDirectory) return;
        beforeEachFile();
        if (entry.name == kIndexDat && !includeIndexDat) return;
        listed.push_back({entry.name, base + entry.name, false});
    });
    m_rows = std::move(listed);
    if (!m_rows.empty()) m_rows.back().selected = true;
}

CookieDeletion CookieList::deleteFiles(FileSystem& files, bool selectedOnly) {
    CookieDeletion deletion;
    for (size_t i = m_rows.size(); i-- > 0;) {
        const CookieRow& row = m_rows[i];
        if (row.name.empty() || (selectedOnly && !row.selected)) continue;
        if (RemoveFile(files, row.path) == FileResult::ok) {
            m_rows.erase(m_rows.begin() + static_cast<std::ptrdiff_t>(i));
            ++deletion.removed;
        } else {
            ++deletion.failed;
        }
    }
    return deletion;
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
