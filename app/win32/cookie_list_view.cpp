// The cookie list: row texts on demand, type-to-find, the selection mirrored both ways, header
// clicks passed on.
#include "app/win32/cookie_list_view.h"

#include <algorithm>

#include "app/win32/view_support.h"

namespace purgeon::win32 {

namespace {

// Until the window is first activated, when the columns share the list's width.
constexpr int kColumnWidth = 3360;
// From this many selected rows on, the list repaints once after a click or key.
constexpr LRESULT kQuietSelection = 256;

}  // namespace

void CookieListView::attach(HWND list, UINT dpi) {
    m_list = list;
    m_subclass.install(list, &CookieListView::listProc, this);
    setUpReport(list, {L"Site", L"Cookie Name", L"Browser", L"Size"}, kColumnWidth, dpi);
    LVCOLUMNW right{};
    right.mask = LVCF_FMT;
    right.fmt = LVCFMT_RIGHT;
    ::SendMessageW(list, LVM_SETCOLUMNW, 3, reinterpret_cast<LPARAM>(&right));
    splitColumns();
}

// Some list views repaint every row whose selection changes, one by one: a click or key that
// clears a large selection is slow unless the list repaints once, afterwards.
LRESULT CALLBACK CookieListView::listProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_KEYDOWN:
        case WM_CHAR: {
            if (Subclass::callOriginal(list, LVM_GETSELECTEDCOUNT, 0, 0) < kQuietSelection) break;
            Subclass::callOriginal(list, WM_SETREDRAW, FALSE, 0);
            const LRESULT result = Subclass::callOriginal(list, message, wParam, lParam);
            if (::IsWindow(list)) {
                Subclass::callOriginal(list, WM_SETREDRAW, TRUE, 0);
                ::InvalidateRect(list, nullptr, TRUE);
            }
            return result;
        }
        default:
            break;
    }
    return Subclass::callOriginal(list, message, wParam, lParam);
}

void CookieListView::rescaleColumns(UINT previousDpi, UINT dpi) {
    win32::rescaleColumns(m_list, previousDpi, dpi);
}

void CookieListView::splitColumns() {
    RECT client{};
    ::GetClientRect(m_list, &client);
    // Site and name share most of the width; the browser's title and the size take the rest.
    // Room is left for a vertical scroll bar, so that no horizontal one is needed.
    const int width = client.right - client.left - ::GetSystemMetrics(SM_CXVSCROLL);
    const int browser = width / 4;
    const int size = std::max(width / 8, columnWidthFor(m_list, L"1023 bytes"));
    const int site = (width - browser - size) / 2;
    ::SendMessageW(m_list, LVM_SETCOLUMNWIDTH, 0, site);
    ::SendMessageW(m_list, LVM_SETCOLUMNWIDTH, 1, width - browser - size - site);
    ::SendMessageW(m_list, LVM_SETCOLUMNWIDTH, 2, browser);
    ::SendMessageW(m_list, LVM_SETCOLUMNWIDTH, 3, size);
}

void CookieListView::showRows(const CookieList& list) {
    m_rows = list.rows();
    const RedrawPause pause(m_list);
    if (list.sortColumn() != m_sortColumn || list.ascending() != m_ascending) {
        m_sortColumn = list.sortColumn();
        m_ascending = list.ascending();
        showSortMark(m_list, m_sortColumn, m_ascending);
    }
    {
        const FlagScope mirroring(m_mirroring);
        ::SendMessageW(m_list, LVM_SETITEMCOUNT, static_cast<WPARAM>(m_rows.size()), 0);
    }
    mirrorSelection(list);
}

void CookieListView::showSelection(const CookieList& list) {
    const RedrawPause pause(m_list);
    mirrorSelection(list);
}

void CookieListView::mirrorSelection(const CookieList& list) {
    const FlagScope mirroring(m_mirroring);
    const auto& rows = list.rows();
    const std::size_t shown = std::min(rows.size(), m_rows.size());
    const std::size_t selected = static_cast<std::size_t>(
        std::count_if(rows.begin(), rows.begin() + static_cast<std::ptrdiff_t>(shown),
                      [](const CookieRow& row) { return row.selected; }));

    // Every row at once, then the selected ones one by one when only some are.
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED;
    state.state = selected == shown && shown > 0 ? LVIS_SELECTED : 0;
    ::SendMessageW(m_list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                   reinterpret_cast<LPARAM>(&state));
    if (selected == shown || selected == 0) return;
    state.state = LVIS_SELECTED;
    for (std::size_t row = 0; row < shown; ++row) {
        if (!rows[row].selected) continue;
        ::SendMessageW(m_list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
    }
}

bool CookieListView::onNotify(NMHDR& header, LRESULT& result) {
    if (header.hwndFrom != m_list) return false;
    switch (header.code) {
        case LVN_GETDISPINFOW:
            onText(reinterpret_cast<NMLVDISPINFOW&>(header));
            return true;
        case LVN_ODFINDITEMW:
            result = find(reinterpret_cast<const NMLVFINDITEMW&>(header));
            return true;
        case LVN_COLUMNCLICK: {
            const int column = reinterpret_cast<const NMLISTVIEW&>(header).iSubItem + 1;
            guarded([&] { m_behaviour.lstcookies_ColumnClick(column); });
            return true;
        }
        case LVN_ITEMCHANGED: {
            const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
            if (m_mirroring || (change.uChanged & LVIF_STATE) == 0) return true;
            // A change to every row does not say which state bits it set; each row is read back.
            if (change.iItem >= 0 && ((change.uOldState ^ change.uNewState) & LVIS_SELECTED) == 0) {
                return true;
            }
            guarded([&] { onSelection(change.iItem, change.iItem); });
            return true;
        }
        case LVN_ODSTATECHANGED: {
            const auto& change = reinterpret_cast<const NMLVODSTATECHANGE&>(header);
            if (m_mirroring || ((change.uOldState ^ change.uNewState) & LVIS_SELECTED) == 0) {
                return true;
            }
            guarded([&] { onSelection(change.iFrom, change.iTo); });
            return true;
        }
        default:
            return false;
    }
}

void CookieListView::onText(NMLVDISPINFOW& info) const {
    LVITEMW& item = info.item;
    if ((item.mask & LVIF_TEXT) == 0 || item.pszText == nullptr || item.cchTextMax <= 0) return;
    if (item.iItem < 0 || static_cast<std::size_t>(item.iItem) >= m_rows.size()) {
        item.pszText[0] = L'\0';
        return;
    }
    if (item.iSubItem < 0) {
        item.pszText[0] = L'\0';
        return;
    }
    copyCellText(cookieColumnText(m_rows[static_cast<std::size_t>(item.iItem)],
                                  static_cast<std::size_t>(item.iSubItem)),
                 item);
}

// Typing in the list moves to the next row whose site starts with the typed text.
int CookieListView::find(const NMLVFINDITEMW& find) const {
    return static_cast<int>(
        findTyped(find, [this](std::wstring_view wanted, bool partial, int start, bool wrap) {
            return findCookieRow(m_rows, wanted, partial, start, wrap, m_collation);
        }));
}

void CookieListView::onSelection(int first, int last) {
    readSelection(m_list, static_cast<int>(m_rows.size()), first, last,
                  [&](int row, bool selected) {
                      const auto& rows = m_behaviour.cookieList().rows();
                      if (static_cast<std::size_t>(row) >= rows.size()) return false;
                      if (selected != rows[static_cast<std::size_t>(row)].selected)
                          m_behaviour.lstcookies_ItemSelected(row, selected);
                      return true;
                  });
}

}  // namespace purgeon::win32
