// The Cache tab's list: a multiple-selection list box over the behaviour's cache rows.
#pragma once

#include "app/main_window.h"
#include "app/win32/list_controls.h"

namespace purgeon::win32 {

// Shows the rows and their selection, and passes on each row the user toggles: the behaviour
// holds the selection.
class CacheListView {
public:
    explicit CacheListView(FrmMain& behaviour) : m_behaviour(behaviour) {}
    CacheListView(const CacheListView&) = delete;
    CacheListView& operator=(const CacheListView&) = delete;

    // Takes on the window's cache list.
    void attach(HWND box);
    // The list is gone with its window.
    void detach() { m_box = nullptr; }

    // The rows changed, or only their selection.
    void showRows(const CacheList& list);
    void showSelection(const CacheList& list);

    // The list reported a change of selection.
    void onSelectionChange();

private:
    static LRESULT CALLBACK boxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam);

    FrmMain& m_behaviour;
    HWND m_box = nullptr;
    Subclass m_subclass;
};

}  // namespace purgeon::win32
