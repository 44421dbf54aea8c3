// The browser profiles with their ticks, and the keep list's sites.
#include "app/win32/browser_lists_view.h"

#include "app/win32/list_controls.h"
#include "app/win32/view_support.h"

namespace purgeon::win32 {

namespace {

// Until the list is placed: the one column's width.
constexpr int kColumnWidth = 3000;

}  // namespace

void BrowserListsView::attach(HWND browsers, HWND keepList, UINT dpi) {
    m_browsers = browsers;
    m_keepList = keepList;
    setUpReport(browsers, {L"Profile"}, kColumnWidth, dpi);
    ListView_SetExtendedListViewStyleEx(browsers, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
    // The one column fills the list, less room for a scroll bar.
    RECT client{};
    ::GetClientRect(browsers, &client);
    ListView_SetColumnWidth(browsers, 0,
                            client.right - client.left - ::GetSystemMetrics(SM_CXVSCROLL));
}

void BrowserListsView::showChoices(const std::vector<std::pair<std::wstring, bool>>& choices) {
    m_filling = true;
    const RedrawPause pause(m_browsers);
    ::SendMessageW(m_browsers, LVM_DELETEALLITEMS, 0, 0);
    int row = 0;
    for (const auto& [title, ticked] : choices) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = const_cast<wchar_t*>(title.c_str());
        const int inserted = static_cast<int>(
            ::SendMessageW(m_browsers, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        if (inserted >= 0) ListView_SetCheckState(m_browsers, inserted, ticked ? TRUE : FALSE);
        ++row;
    }
    m_filling = false;
}

void BrowserListsView::showKeepList(const std::vector<std::wstring>& sites) {
    ::SendMessageW(m_keepList, LB_RESETCONTENT, 0, 0);
    for (const std::wstring& site : sites)
        ::SendMessageW(m_keepList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(site.c_str()));
}

void BrowserListsView::keepListChanged() {
    const int row = static_cast<int>(::SendMessageW(m_keepList, LB_GETCURSEL, 0, 0));
    m_behaviour.lstKeepCookies_Click(row == LB_ERR ? -1 : row);
}

bool BrowserListsView::onNotify(const NMHDR& header) {
    if (header.hwndFrom != m_browsers || m_browsers == nullptr) return false;
    if (header.code != LVN_ITEMCHANGED || m_filling) return true;
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
    // The tick is the state image: 1 unticked, 2 ticked.
    if ((change.uChanged & LVIF_STATE) == 0 ||
        ((change.uOldState ^ change.uNewState) & LVIS_STATEIMAGEMASK) == 0 || change.iItem < 0)
        return true;
    const bool ticked = ((change.uNewState & LVIS_STATEIMAGEMASK) >> 12) == 2;
    guarded([&] { m_behaviour.lstBrowsers_ItemChecked(change.iItem, ticked); });
    return true;
}

}  // namespace purgeon::win32
