// The Browser History tab's list: a virtual report list over the behaviour's history rows.
#pragma once

#include "app/main_window.h"
#include "app/win32/list_controls.h"
#include "platform/win32/collation_win32.h"
#include "platform/win32/handles.h"

#include <commctrl.h>

namespace purgeon::win32 {

// Asks the behaviour for the texts of the rows it paints (the behaviour keeps the rows and their
// order), finds the row the user types, and passes on clicks on the column headers.
class HistoryListView {
public:
    explicit HistoryListView(FrmMain& behaviour) : m_behaviour(behaviour) {}
    HistoryListView(const HistoryListView&) = delete;
    HistoryListView& operator=(const HistoryListView&) = delete;

    // Takes on the window's history list, with its columns at this DPI.
    void attach(HWND list, UINT dpi);
    // The list is gone with its window.
    void detach() { m_list = nullptr; }

    void rescaleColumns(UINT previousDpi, UINT dpi);
    // The first widths: the title and the address take most of the list, the last visit fits its
    // date, and the columns the browsers leave empty fit their headings (past the list's edge).
    void splitColumns();
    void followWidth(UINT dpi) { followListWidth(m_list, m_width, dpi); }
    const ListWidth& followedWidth() const { return m_width; }
    // The rows changed: more came, they were emptied, or their order changed.
    void showRows(const HistoryList& list);

    // True for a notification from the list that it answers; result is the answer.
    bool onNotify(NMHDR& header, LRESULT& result);

private:
    void onText(NMLVDISPINFOW& info);

    FrmMain& m_behaviour;
    HWND m_list = nullptr;
    std::size_t m_count = 0;
    int m_sortColumn = -2;
    bool m_ascending = true;
    Win32Collation m_collation;
    ListWidth m_width{{0, 1}};
};

}  // namespace purgeon::win32
