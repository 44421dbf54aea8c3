// The history list: rows inserted in order, sorted again by column, header clicks passed on.
#include "app/win32/history_list_view.h"

#include <algorithm>

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
}

void HistoryListView::rescaleColumns(UINT previousDpi, UINT dpi) {
    win32::rescaleColumns(m_list, previousDpi, dpi);
}

void HistoryListView::showRows(const std::vector<HistoryRow>& rows) {
    m_rows = rows;
    const std::vector<std::size_t> order = historyOrder(m_rows, m_sortKey, m_collation);

    const RedrawPause pause(m_list);
    ::SendMessageW(m_list, LVM_DELETEALLITEMS, 0, 0);
    ::SendMessageW(m_list, LVM_SETITEMCOUNT, static_cast<WPARAM>(order.size()), 0);
    int position = 0;
    for (std::size_t index : order) {
        HistoryRow& row = m_rows[index];
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = position;
        item.pszText = row[0].data();
        item.lParam = static_cast<LPARAM>(index);
        const int inserted = static_cast<int>(
            ::SendMessageW(m_list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        if (inserted < 0) continue;
        for (std::size_t column = 1; column < kHistoryColumns; ++column) {
            LVITEMW cell{};
            cell.iSubItem = static_cast<int>(column);
            cell.pszText = row[column].data();
            ::SendMessageW(m_list, LVM_SETITEMTEXTW, static_cast<WPARAM>(inserted),
                           reinterpret_cast<LPARAM>(&cell));
        }
        ++position;
    }
}

void HistoryListView::setSortKey(int key) {
    m_sortKey = std::clamp(key, 0, static_cast<int>(kHistoryColumns) - 1);
    ::SendMessageW(m_list, LVM_SORTITEMS, reinterpret_cast<WPARAM>(this),
                   reinterpret_cast<LPARAM>(&HistoryListView::compare));
}

int CALLBACK HistoryListView::compare(LPARAM first, LPARAM second, LPARAM self) {
    const auto* view = reinterpret_cast<const HistoryListView*>(self);
    const auto a = static_cast<std::size_t>(first);
    const auto b = static_cast<std::size_t>(second);
    const std::size_t count = view->m_rows.size();
    if (a >= count || b >= count || a == b) return 0;
    return historyRowBefore(view->m_rows, view->m_sortKey, a, b, view->m_collation) ? -1 : 1;
}

bool HistoryListView::onNotify(const NMHDR& header) {
    if (header.hwndFrom != m_list || header.code != LVN_COLUMNCLICK) return false;
    const int column = reinterpret_cast<const NMLISTVIEW&>(header).iSubItem + 1;
    guarded([&] { m_behaviour.URLs_ColumnClick(column); });
    return true;
}

}  // namespace purgeon::win32
