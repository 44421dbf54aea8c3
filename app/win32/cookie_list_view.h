// The Cookies tab's list: a virtual list view over the behaviour's cookie rows.
#pragma once

#include <vector>

#include "app/main_window.h"
#include "app/win32/list_controls.h"
#include "platform/win32/collation_win32.h"

#include <commctrl.h>

namespace purgeon::win32 {

// Keeps a copy of the rows the list shows, hands the list their texts as it paints them, finds
// the row the user types, mirrors the selection both ways (the behaviour holds it) and passes on
// the header clicks.
class CookieListView {
public:
    explicit CookieListView(FrmMain& behaviour) : m_behaviour(behaviour) {}
    CookieListView(const CookieListView&) = delete;
    CookieListView& operator=(const CookieListView&) = delete;

    // Takes on the window's cookie list, with its columns at this DPI.
    void attach(HWND list, UINT dpi);
    // The list is gone with its window.
    void detach() { m_list = nullptr; }

    void rescaleColumns(UINT previousDpi, UINT dpi);
    // Its widest columns take what the list's width changes by.
    void followWidth(UINT dpi) { followListWidth(m_list, m_width, dpi); }
    const ListWidth& followedWidth() const { return m_width; }
    // The columns share the list's width.
    void splitColumns();
    // The rows changed (or some went), or only their selection.
    void showRows(const CookieList& list);
    void showSelection(const CookieList& list);

    // True for a notification from the list that it answers; result is the answer.
    bool onNotify(NMHDR& header, LRESULT& result);

private:
    static LRESULT CALLBACK listProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam);
    void onText(NMLVDISPINFOW& info) const;
    int find(const NMLVFINDITEMW& find) const;
    // The list changed the selection of rows first to last (-1: every row).
    void onSelection(int first, int last);
    void mirrorSelection(const CookieList& list);

    FrmMain& m_behaviour;
    HWND m_list = nullptr;
    ListWidth m_width{{0, 1}};
    Subclass m_subclass;
    std::vector<CookieRow> m_rows;
    // Set while the view itself changes the list's selection.
    bool m_mirroring = false;
    int m_sortColumn = -1;  // the order the header shows
    bool m_ascending = true;
    Win32Collation m_collation;
};

}  // namespace purgeon::win32
