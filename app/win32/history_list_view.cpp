// The history list: a count and texts on demand, type-to-find, header clicks passed on.
#include "app/win32/history_list_view.h"

#include <algorithm>
#include <iterator>

#include "app/win32/list_controls.h"
#include "app/win32/view_support.h"

namespace purgeon::win32 {

namespace {

constexpr int kColumnWidth = 1440;

}  // namespace

void HistoryListView::attach(HWND list, UINT dpi) {
    m_list = list;
    setUpReport(
        list,
        {L"Title", L"URL", L"Last visited", L"Last Updated", L"Expires", L"Flags", L"Browser"},
        kColumnWidth, dpi);
    ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_DOUBLEBUFFER, LVS_EX_DOUBLEBUFFER);
    splitColumns();
}

void HistoryListView::rescaleColumns(UINT previousDpi, UINT dpi) {
    win32::rescaleColumns(m_list, previousDpi, dpi);
}

void HistoryListView::splitColumns() {
    RECT client{};
    ::GetClientRect(m_list, &client);
    const int width = client.right - client.left - ::GetSystemMetrics(SM_CXVSCROLL);
    const int visited = columnWidthFor(m_list, L"12/31/2026 12:59:59 PM");
    const int title = std::max(columnWidthFor(m_list, L"Title"), (width - visited) * 2 / 5);
    const int address = std::max(columnWidthFor(m_list, L"URL"), width - visited - title);
    const int widths[] = {title,
                          address,
                          visited,
                          columnWidthFor(m_list, L"Last Updated"),
                          columnWidthFor(m_list, L"Expires"),
                          columnWidthFor(m_list, L"Flags"),
                          columnWidthFor(m_list, L"Firefox (default-release)")};
    for (int column = 0; column < static_cast<int>(std::size(widths)); ++column)
        ::SendMessageW(m_list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), widths[column]);
}

void HistoryListView::showRows(const HistoryList& list) {
    if (m_list == nullptr) return;
    const std::size_t count = list.size();
    const bool reordered = list.sortColumn() != m_sortColumn || list.ascending() != m_ascending;
    if (reordered) {
        m_sortColumn = list.sortColumn();
        m_ascending = list.ascending();
        showSortMark(m_list, m_sortColumn, m_ascending);
    }
    // Rows that come in join the order wherever they belong: what shows is painted afresh.
    ::SendMessageW(m_list, LVM_SETITEMCOUNT, static_cast<WPARAM>(count),
                   count >= m_count && m_count > 0 ? LVSICF_NOSCROLL : 0);
    m_count = count;
    ::InvalidateRect(m_list, nullptr, FALSE);
}

void HistoryListView::onText(NMLVDISPINFOW& info) {
    LVITEMW& item = info.item;
    if ((item.mask & LVIF_TEXT) == 0 || item.pszText == nullptr || item.cchTextMax <= 0) return;
    item.pszText[0] = L'\0';
    if (item.iItem < 0 || item.iSubItem < 0) return;
    const std::wstring text = m_behaviour.historyText(static_cast<std::size_t>(item.iItem),
                                                      static_cast<std::size_t>(item.iSubItem));
    copyCellText(text, item);
}

bool HistoryListView::onNotify(NMHDR& header, LRESULT& result) {
    if (header.hwndFrom != m_list) return false;
    result = 0;
    switch (header.code) {
        case LVN_GETDISPINFOW:
            guarded([&] { onText(reinterpret_cast<NMLVDISPINFOW&>(header)); });
            return true;
        case LVN_ODFINDITEMW:
            // Typing in the list moves to the next row whose title starts with the typed text.
            result =
                findTyped(reinterpret_cast<const NMLVFINDITEMW&>(header),
                          [this](std::wstring_view wanted, bool partial, int start, bool wrap) {
                              return m_behaviour.historyList().find(wanted, partial, start, wrap,
                                                                    m_collation);
                          });
            return true;
        case LVN_COLUMNCLICK: {
            const int column = reinterpret_cast<const NMLISTVIEW&>(header).iSubItem + 1;
            guarded([&] { m_behaviour.URLs_ColumnClick(column); });
            return true;
        }
        default:
            return false;
    }
}

}  // namespace purgeon::win32
