// What the list adapters share: report columns sized in twips, a pause in painting, the selection
// read back, and a window procedure of a list's own ahead of its class's.
#pragma once

#include <algorithm>
#include <initializer_list>
#include <string_view>

#include "platform/win32/handles.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace purgeon::win32 {

// Full-row selection and one column per title, each the same width.
void setUpReport(HWND listView, std::initializer_list<const wchar_t*> titles, int widthTwips,
                 UINT dpi);
// The header's arrow on the sorted column (none for -1), pointing up when ascending.
void showSortMark(HWND listView, int column, bool ascending);
// A cell's text into the list's buffer, cut to fit.
void copyCellText(std::wstring_view text, LVITEMW& item);
// The columns' widths, in pixels, and setting them; widths that do not fit the columns change
// nothing.
std::vector<int> columnWidths(HWND listView);
void setColumnWidths(HWND listView, const std::vector<int>& widths);
// A list's answer to LVN_ODFINDITEM (type-to-find): find(wanted, partial, start, wrap) over the
// list's shown places, or -1 for a search that is not by the start of a text.
template <typename Find>
LRESULT findTyped(const NMLVFINDITEMW& find, const Find& each) {
    const LVFINDINFOW& info = find.lvfi;
    if ((info.flags & (LVFI_STRING | LVFI_PARTIAL)) == 0 || info.psz == nullptr) return -1;
    return each(std::wstring_view(info.psz), (info.flags & LVFI_PARTIAL) != 0, find.iStart,
                (info.flags & LVFI_WRAP) != 0);
}
// Keeps every column's width the same on screen after a change of DPI.
void rescaleColumns(HWND listView, UINT previousDpi, UINT dpi);

// The columns that take what a list's width changes by, and the list's width when they last
// followed it, at which DPI.
struct ListWidth {
    std::vector<int> columns;
    int pixels = 0;
    UINT dpi = 0;
};
// The widths with the change shared equally among the given columns (the last one takes what an
// uneven share leaves), none going below a small width.
std::vector<int> widthsAfterChange(std::vector<int> widths, const std::vector<int>& columns,
                                   int change, UINT dpi);
// Hands what the list's width changed by since the last call to the columns that follow it: a
// list that a larger window widened shows no empty band, and a narrower one needs no scroll bar
// it did not need before. The first call only notes the width; a change of DPI alone moves
// nothing (rescaleColumns has done that).
void followListWidth(HWND listView, ListWidth& known, UINT dpi);
// The width a column needs to show the text in full, in the list's font.
int columnWidthFor(HWND listView, const wchar_t* text);

// The list does not paint while the guard lives, and repaints all of itself afterwards.
class RedrawPause {
public:
    explicit RedrawPause(HWND list) : m_list(list) {
        ::SendMessageW(m_list, WM_SETREDRAW, FALSE, 0);
    }
    ~RedrawPause() {
        ::SendMessageW(m_list, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(m_list, nullptr, TRUE);
    }
    RedrawPause(const RedrawPause&) = delete;
    RedrawPause& operator=(const RedrawPause&) = delete;

private:
    HWND m_list;
};

// Sets a flag for the lifetime of the guard (a list mirroring its selection, say), then puts back
// what it was.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : m_flag(flag), m_previous(flag) { m_flag = true; }
    ~FlagScope() { m_flag = m_previous; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& m_flag;
    bool m_previous;
};

// Reads back from the list whether each row first..last is selected (every shown row when first is
// below 0), handing each(place, selected) the answer until it returns false. Selecting or clearing
// every row, which a plain click does first, needs no row read back.
template <typename Each>
void readSelection(HWND list, int shown, int first, int last, const Each& each) {
    if (first < 0) {
        first = 0;
        last = shown - 1;
    }
    last = std::min(last, shown - 1);
    if (first > last) return;
    const int selectedCount = static_cast<int>(::SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0));
    const bool all = selectedCount == shown;
    const bool none = selectedCount == 0;
    for (int place = first; place <= last; ++place) {
        const bool selected =
            all || (!none && ::SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(place),
                                            LVIS_SELECTED) != 0);
        if (!each(place, selected)) return;
    }
}

// A control's own window procedure in front of its class's. The control's user data points to
// this record, which must stay where it is while the control lives. (The common controls'
// subclassing looks its data up on every message, which makes a list of many rows slow to fill
// on some systems.)
class Subclass {
public:
    Subclass() = default;
    Subclass(const Subclass&) = delete;
    Subclass& operator=(const Subclass&) = delete;

    void install(HWND control, WNDPROC procedure, void* owner);

    // The class's window procedure, for a control given one of its own.
    static LRESULT callOriginal(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
    // Who installed the procedure; nullptr for a control without one.
    template <typename Owner>
    static Owner* ownerOf(HWND control) {
        const Subclass* record = recordOf(control);
        return record == nullptr ? nullptr : static_cast<Owner*>(record->m_owner);
    }

private:
    static const Subclass* recordOf(HWND control);

    WNDPROC m_original = nullptr;
    void* m_owner = nullptr;
};

}  // namespace purgeon::win32
