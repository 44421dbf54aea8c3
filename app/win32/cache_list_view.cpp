// The cache list: texts on demand, type-to-find, the selection mirrored both ways, header clicks
// passed on.
#include "app/win32/cache_list_view.h"

#include <algorithm>

#include "app/win32/view_support.h"

namespace purgeon::win32 {

namespace {

// Address, browser, size: in twips until the settings give the user's own widths.
constexpr int kColumnWidth = 1440;

}  // namespace

void CacheListView::attach(HWND list, UINT dpi) {
    m_list = list;
    setUpReport(list, {L"Address", L"Browser", L"Size"}, kColumnWidth, dpi);
    ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_DOUBLEBUFFER, LVS_EX_DOUBLEBUFFER);
    // The address takes what the browser and the size leave.
    RECT client{};
    ::GetClientRect(list, &client);
    const int width = client.right - client.left - ::GetSystemMetrics(SM_CXVSCROLL);
    const int browser = width / 4;
    const int size = width / 7;
    ::SendMessageW(list, LVM_SETCOLUMNWIDTH, 0, width - browser - size);
    ::SendMessageW(list, LVM_SETCOLUMNWIDTH, 1, browser);
    ::SendMessageW(list, LVM_SETCOLUMNWIDTH, 2, size);
    LVCOLUMNW right{};
    right.mask = LVCF_FMT;
    right.fmt = LVCFMT_RIGHT;
    ::SendMessageW(list, LVM_SETCOLUMNW, 2, reinterpret_cast<LPARAM>(&right));
}

void CacheListView::rescaleColumns(UINT previousDpi, UINT dpi) {
    win32::rescaleColumns(m_list, previousDpi, dpi);
}

void CacheListView::showRows(const CacheList& list) {
    if (m_list == nullptr) return;
    const std::size_t count = list.rows().size();
    const bool reordered = list.sortColumn() != m_sortColumn || list.ascending() != m_ascending;
    if (reordered) {
        m_sortColumn = list.sortColumn();
        m_ascending = list.ascending();
        showSortMark(m_list, m_sortColumn, m_ascending);
    }
    {
        const FlagScope mirroring(m_mirroring);
        ::SendMessageW(m_list, LVM_SETITEMCOUNT, static_cast<WPARAM>(count),
                       count >= m_count && m_count > 0 ? LVSICF_NOSCROLL : 0);
    }
    m_count = count;
    mirrorSelection(list);
    ::InvalidateRect(m_list, nullptr, FALSE);
}

void CacheListView::showSelection(const CacheList& list) {
    if (m_list == nullptr) return;
    mirrorSelection(list);
    ::InvalidateRect(m_list, nullptr, FALSE);
}

void CacheListView::showTexts() {
    if (m_list == nullptr) return;
    ::InvalidateRect(m_list, nullptr, FALSE);
    ::UpdateWindow(m_list);
}

void CacheListView::mirrorSelection(const CacheList& list) {
    const FlagScope mirroring(m_mirroring);
    const auto& rows = list.rows();
    const std::size_t shown = std::min(rows.size(), m_count);
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED;
    state.state = 0;
    ::SendMessageW(m_list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                   reinterpret_cast<LPARAM>(&state));
    state.state = LVIS_SELECTED;
    for (std::size_t place = 0; place < shown; ++place) {
        if (!rows[list.rowAt(place)].selected) continue;
        ::SendMessageW(m_list, LVM_SETITEMSTATE, place, reinterpret_cast<LPARAM>(&state));
    }
}

bool CacheListView::onNotify(NMHDR& header, LRESULT& result) {
    if (header.hwndFrom != m_list) return false;
    result = 0;
    switch (header.code) {
        case LVN_GETDISPINFOW:
            onText(reinterpret_cast<NMLVDISPINFOW&>(header));
            return true;
        case LVN_ODFINDITEMW:
            // Typing in the list moves to the next row whose address starts with the typed text.
            result = findTyped(
                reinterpret_cast<const NMLVFINDITEMW&>(header),
                [this](std::wstring_view wanted, bool partial, int start, bool wrap) {
                    return m_behaviour.cacheList().find(wanted, partial, start, wrap, m_collation);
                });
            return true;
        case LVN_COLUMNCLICK: {
            const int column = reinterpret_cast<const NMLISTVIEW&>(header).iSubItem + 1;
            guarded([&] { m_behaviour.List1_ColumnClick(column); });
            return true;
        }
        case LVN_ITEMCHANGED: {
            const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
            if (m_mirroring || (change.uChanged & LVIF_STATE) == 0) return true;
            const UINT changed = change.uOldState ^ change.uNewState;
            if (change.iItem >= 0 && (changed & LVIS_FOCUSED) != 0 &&
                (change.uNewState & LVIS_FOCUSED) != 0) {
                const auto place = static_cast<std::size_t>(change.iItem);
                const CacheList& list = m_behaviour.cacheList();
                if (place < list.rows().size())
                    guarded([&] {
                        m_behaviour.List1_ItemFocused(static_cast<int>(list.rowAt(place)));
                    });
            }
            if (change.iItem >= 0 && (changed & LVIS_SELECTED) == 0) return true;
            guarded([&] { onSelection(change.iItem, change.iItem); });
            return true;
        }
        case LVN_ODSTATECHANGED: {
            const auto& change = reinterpret_cast<const NMLVODSTATECHANGE&>(header);
            if (m_mirroring || ((change.uOldState ^ change.uNewState) & LVIS_SELECTED) == 0)
                return true;
            guarded([&] { onSelection(change.iFrom, change.iTo); });
            return true;
        }
        default:
            return false;
    }
}

void CacheListView::onText(NMLVDISPINFOW& info) const {
    LVITEMW& item = info.item;
    if ((item.mask & LVIF_TEXT) == 0 || item.pszText == nullptr || item.cchTextMax <= 0) return;
    item.pszText[0] = L'\0';
    const CacheList& list = m_behaviour.cacheList();
    if (item.iItem < 0 || static_cast<std::size_t>(item.iItem) >= list.rows().size() ||
        item.iSubItem < 0)
        return;
    const std::size_t row = list.rowAt(static_cast<std::size_t>(item.iItem));
    // A row on screen whose address is still to come: read it next.
    if (item.iSubItem == 0 && list.rows()[row].addressToCome >= 0)
        guarded([&] { m_behaviour.List1_RowShown(item.iItem); });
    copyCellText(list.text(row, static_cast<std::size_t>(item.iSubItem)), item);
}

void CacheListView::onSelection(int first, int last) {
    const int shown = static_cast<int>(std::min(m_behaviour.cacheList().rows().size(), m_count));
    readSelection(m_list, shown, first, last, [&](int place, bool selected) {
        const CacheList& now = m_behaviour.cacheList();
        if (static_cast<std::size_t>(place) >= now.rows().size()) return false;
        const std::size_t row = now.rowAt(static_cast<std::size_t>(place));
        if (selected != now.rows()[row].selected)
            m_behaviour.List1_ItemSelected(static_cast<int>(row), selected);
        return true;
    });
}

}  // namespace purgeon::win32
