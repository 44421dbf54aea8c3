// Shared pieces of the Win32 views: window ownership, twips and fonts at a DPI, guarded events.
#pragma once

#include <exception>
#include <source_location>
#include <string>

#include "app/controls.h"
#include "app/run_log.h"
#include "platform/win32/handles.h"

namespace purgeon::win32 {

struct WindowTraits {
    using Handle = HWND;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle h) noexcept { ::DestroyWindow(h); }
};
// Owns a top-level window. A view releases it from WM_NCDESTROY when the window goes first.
using UniqueWindow = UniqueResource<WindowTraits>;

struct MenuTraits {
    using Handle = HMENU;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle h) noexcept { ::DestroyMenu(h); }
};
using UniqueMenu = UniqueResource<MenuTraits>;

// Private messages the views post to themselves.
inline constexpr UINT kMsgActivated = WM_APP + 1;

// Control identifiers: each named control's id is 1000 plus its number.
inline constexpr int kControlIdBase = 1000;
inline int controlId(Ctl control) { return kControlIdBase + static_cast<int>(control); }
inline Ctl controlFromId(int id) { return static_cast<Ctl>(id - kControlIdBase); }

// A rectangle in twips, relative to the window or control that hosts it.
struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Twips to pixels at one DPI. Edges are converted separately so neighbours meet exactly.
class TwipsScale {
public:
    explicit TwipsScale(UINT dpi) : m_dpi(static_cast<int>(dpi)) {}
    int px(int twips) const { return ::MulDiv(twips, m_dpi, 1440); }
    RECT rect(const TwipsRect& r) const {
        return RECT{px(r.left), px(r.top), px(r.left + r.width), px(r.top + r.height)};
    }
    UINT dpi() const { return static_cast<UINT>(m_dpi); }

private:
    int m_dpi;
};

// The system's message font at this DPI, optionally bold, resized (hundredths of a point) or with
// another face.
UniqueGdiObject createMessageFont(UINT dpi, bool bold = false, int hundredthsOfPoint = 0,
                                  const wchar_t* face = nullptr);
inline HFONT fontOf(const UniqueGdiObject& font) { return static_cast<HFONT>(font.get()); }

// Sizes a top-level window to a client area in pixels and centres it on its monitor's work area.
void placeCentered(HWND window, int clientWidth, int clientHeight, UINT dpi);
// Sizes a top-level window to a client area in pixels, keeping its top-left corner at the point.
void placeAt(HWND window, POINT topLeft, int clientWidth, int clientHeight, UINT dpi);

// Moves a top-level window to where WM_DPICHANGED suggests (lParam), sized to a client area in
// twips at the new DPI.
void placeForDpi(HWND window, LPARAM suggestion, int clientWidthTwips, int clientHeightTwips,
                 UINT dpi);

void moveControl(HWND control, const RECT& r);

// The whole text of a window or control.
std::wstring windowText(HWND window);

// Registers a top-level window class with the program's icon and the given background (the
// dialog colour when none is given).
void registerWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, HICON icon,
                         HICON smallIcon, HBRUSH background = nullptr);

// The window procedure of a view: the view comes as the creation parameter and gets the window on
// WM_NCCREATE, every message until WM_NCDESTROY, and word of the window's end then.
template <typename View>
LRESULT CALLBACK viewWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* view = static_cast<View*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(view));
        view->windowCreated(window);
    }
    auto* view = reinterpret_cast<View*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        if (view != nullptr) view->windowGone();
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    if (view == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
    return view->handle(message, wParam, lParam);
}

// Where failures that reach a window procedure are written: the program's log while it runs.
void setEventFailureLog(RunLog* log) noexcept;
// Writes one failure with the place it was caught.
void reportFailure(const char* what, const std::source_location& where) noexcept;

// Runs a call into the program's behaviour from a window procedure: nothing may escape, and
// nothing is lost without a line in the log.
template <typename Call>
void guarded(Call&& call, std::source_location where = std::source_location::current()) noexcept {
    try {
        call();
    } catch (const std::exception& error) {
        reportFailure(error.what(), where);
    } catch (...) {
        reportFailure("an unknown exception", where);
    }
}

}  // namespace purgeon::win32
