// The cookie list: row texts on demand, type-to-find, and the selection mirrored both ways.
#include "app/win32/cookie_list_view.h"

#include <algorithm>
#include <string_view>

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
    setUpReport(list, {L"Cookie Name", L"Cookie Path", L"Browser"}, kColumnWidth, dpi);
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
    // Name and path share most of the width; the browser's title takes the rest.
    // Room is left for a vertical scroll bar, so that no horizontal one is needed.
    const int width = client.right - client.left - ::GetSystemMetrics(SM_CXVSCROLL);
    const int browser = width / 4;
    const int name = (width - browser) * 2 / 5;
    ::SendMessageW(m_list, LVM_SETCOLUMNWIDTH, 0, name);
    ::SendMessageW(m_list, LVM_SETCOLUMNWIDTH, 1, width - browser - name);
    ::SendMessageW(m_list, LVM_SETCOLUMNWIDTH, 2, browser);
}

void CookieListView::showRows(const CookieList& list) {
    m_rows = list.rows();
    const RedrawPause pause(m_list);
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
    const CookieRow& row = m_rows[static_cast<std::size_t>(item.iItem)];
    const std::wstring_view text =
        item.iSubItem == 0   ? std::wstring_view(row.name)
        : item.iSubItem == 1 ? std::wstring_view(row.path)
        : item.iSubItem == 2
            ? std::wstring_view(row.fromBrowser() ? row.browser.c_str() : kCookieFolderBrowser)
            : std::wstring_view();
    const std::size_t copied =
        text.copy(item.pszText, static_cast<std::size_t>(item.cchTextMax) - 1);
    item.pszText[copied] = L'\0';
}

// Typing in the list moves to the next row whose name starts with the typed text.
int CookieListView::find(const NMLVFINDITEMW& find) const {
    const LVFINDINFOW& info = find.lvfi;
    if ((info.flags & (LVFI_STRING | LVFI_PARTIAL)) == 0 || info.psz == nullptr) return -1;
    return findCookieRow(m_rows, info.psz, (info.flags & LVFI_PARTIAL) != 0, find.iStart,
                         (info.flags & LVFI_WRAP) != 0, m_collation);
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
