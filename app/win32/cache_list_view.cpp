// The cache list: rows and selection shown, toggles by click or key passed on one by one.
#include "app/win32/cache_list_view.h"

#include <algorithm>
#include <optional>

#include "app/win32/view_support.h"

namespace purgeon::win32 {

void CacheListView::attach(HWND box) {
    m_box = box;
    // Not every list box reports a toggle made with the space bar; keys are checked here too.
    m_subclass.install(box, &CacheListView::boxProc, this);
}

LRESULT CALLBACK CacheListView::boxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = Subclass::callOriginal(box, message, wParam, lParam);
    if (message == WM_KEYDOWN || message == WM_CHAR) {
        auto* view = Subclass::ownerOf<CacheListView>(box);
        if (view != nullptr) guarded([&] { view->onSelectionChange(); });
    }
    return result;
}

void CacheListView::showRows(const CacheList& list) {
    const auto& rows = list.rows();
    std::size_t characters = 0;
    for (const ListRow& row : rows) characters += row.text.size() + 1;

    const RedrawPause pause(m_box);
    ::SendMessageW(m_box, LB_RESETCONTENT, 0, 0);
    ::SendMessageW(m_box, LB_INITSTORAGE, static_cast<WPARAM>(rows.size()),
                   static_cast<LPARAM>(characters * sizeof(wchar_t)));
    for (const ListRow& row : rows) {
        const LRESULT index =
            ::SendMessageW(m_box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.text.c_str()));
        if (index >= 0 && row.selected) ::SendMessageW(m_box, LB_SETSEL, TRUE, index);
    }
}

void CacheListView::showSelection(const CacheList& list) {
    const auto& rows = list.rows();
    const LRESULT top = ::SendMessageW(m_box, LB_GETTOPINDEX, 0, 0);
    const LRESULT caret = ::SendMessageW(m_box, LB_GETCARETINDEX, 0, 0);
    const int count = static_cast<int>(::SendMessageW(m_box, LB_GETCOUNT, 0, 0));
    const int shown = std::min(count, static_cast<int>(rows.size()));

    std::optional<RedrawPause> pause;  // only once a row changes
    for (int i = 0; i < shown; ++i) {
        const bool wanted = rows[static_cast<std::size_t>(i)].selected;
        const bool selected = ::SendMessageW(m_box, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0;
        if (selected == wanted) continue;
        if (!pause) pause.emplace(m_box);
        ::SendMessageW(m_box, LB_SETSEL, wanted ? TRUE : FALSE, i);
    }
    if (!pause) return;
    // Selecting may scroll or move the caret; both are put back where the user left them.
    if (caret >= 0) ::SendMessageW(m_box, LB_SETCARETINDEX, static_cast<WPARAM>(caret), FALSE);
    ::SendMessageW(m_box, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
}

// A click (or the space bar) toggles the caret row; moving the caret alone toggles nothing, and a
// toggle reported twice is passed on once.
void CacheListView::onSelectionChange() {
    const int row = static_cast<int>(::SendMessageW(m_box, LB_GETCARETINDEX, 0, 0));
    const auto& rows = m_behaviour.cacheList().rows();
    if (row < 0 || static_cast<std::size_t>(row) >= rows.size()) return;
    const bool shown = ::SendMessageW(m_box, LB_GETSEL, static_cast<WPARAM>(row), 0) > 0;
    if (shown == rows[static_cast<std::size_t>(row)].selected) return;

    m_behaviour.List1_Click(row);
    const auto& after = m_behaviour.cacheList().rows();
    if (static_cast<std::size_t>(row) < after.size()) {
        ::SendMessageW(m_box, LB_SETSEL,
                       after[static_cast<std::size_t>(row)].selected ? TRUE : FALSE, row);
    }
}

}  // namespace purgeon::win32
