// The Cache tab's list: a virtual report list over the behaviour's cache rows, with their sizes.
#pragma once

#include "app/main_window.h"
#include "app/win32/list_controls.h"
#include "platform/win32/collation_win32.h"

namespace purgeon::win32 {

// Hands the list the texts of the rows it paints (in the behaviour's order), mirrors the
// selection both ways (the behaviour holds it, by row), and passes on the header clicks.
class CacheListView {
public:
    explicit CacheListView(FrmMain& behaviour) : m_behaviour(behaviour) {}
    CacheListView(const CacheListView&) = delete;
    CacheListView& operator=(const CacheListView&) = delete;

    // Takes on the window's cache list, with its columns at this DPI.
    void attach(HWND list, UINT dpi);
    // The list is gone with its window.
    void detach() { m_list = nullptr; }

    void rescaleColumns(UINT previousDpi, UINT dpi);
    // Its widest columns take what the list's width changes by.
    void followWidth(UINT dpi) { followListWidth(m_list, m_width, dpi); }
    const ListWidth& followedWidth() const { return m_width; }
    // The rows changed (more came, or their order), or only their selection.
    void showRows(const CacheList& list);
    void showSelection(const CacheList& list);
    // Only texts changed: the rows on screen are painted again at once. (A listing that hands
    // batches without pause would otherwise hold off the paint, which waits for a quiet queue.)
    void showTexts();

    // True for a notification from the list that it answers; result is the answer.
    bool onNotify(NMHDR& header, LRESULT& result);

private:
    void onText(NMLVDISPINFOW& info) const;
    // The list changed the selection of the rows shown first to last (-1: every row).
    void onSelection(int first, int last);
    void mirrorSelection(const CacheList& list);

    FrmMain& m_behaviour;
    HWND m_list = nullptr;
    ListWidth m_width{{0}};
    std::size_t m_count = 0;
    int m_sortColumn = -2;
    bool m_ascending = true;
    bool m_mirroring = false;  // set while the view itself changes the list's selection
    Win32Collation m_collation;
};

}  // namespace purgeon::win32
