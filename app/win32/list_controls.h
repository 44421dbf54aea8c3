// What the list adapters share: report columns sized in twips, a pause in painting, and a window
// procedure of a list's own ahead of its class's.
#pragma once

#include <initializer_list>

#include "platform/win32/handles.h"

namespace purgeon::win32 {

// Full-row selection and one column per title, each the same width.
void setUpReport(HWND listView, std::initializer_list<const wchar_t*> titles, int widthTwips,
                 UINT dpi);
// Keeps every column's width the same on screen after a change of DPI.
void rescaleColumns(HWND listView, UINT previousDpi, UINT dpi);

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
