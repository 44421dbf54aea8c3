// The Browser History tab's list: a report list of the visited sites, sorted by one column.
#pragma once

#include <vector>

#include "app/main_window.h"
#include "platform/win32/collation_win32.h"
#include "platform/win32/handles.h"

#include <commctrl.h>

namespace purgeon::win32 {

// Keeps the rows it shows (each item's data is its row's index) to sort them, and passes on
// clicks on the column headers.
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
    void showRows(const std::vector<HistoryRow>& rows);
    // Sorts the rows by a column (from 0).
    void setSortKey(int key);

    // True for a notification from the list that it answers.
    bool onNotify(const NMHDR& header);

private:
    static int CALLBACK compare(LPARAM first, LPARAM second, LPARAM self);

    FrmMain& m_behaviour;
    HWND m_list = nullptr;
    std::vector<HistoryRow> m_rows;
    int m_sortKey = 0;
    Win32Collation m_collation;
};

}  // namespace purgeon::win32
