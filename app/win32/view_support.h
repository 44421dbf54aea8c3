// Shared pieces of the Win32 views: window ownership, twips and fonts at a DPI, guarded events.
#pragma once

#include <exception>
#include <map>
#include <source_location>
#include <string>

#include "app/controls.h"
#include "clean/run_log.h"
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
// Gives a control a font (without repainting it); the caller keeps the font alive.
void setFont(HWND control, const UniqueGdiObject& font);

// Sizes a top-level window to a client area in pixels and centres it on its monitor's work area.
void placeCentered(HWND window, int clientWidth, int clientHeight, UINT dpi);
// Sizes a top-level window to a client area in pixels, keeping its top-left corner at the point.
void placeAt(HWND window, POINT topLeft, int clientWidth, int clientHeight, UINT dpi);

// Moves a top-level window to where WM_DPICHANGED suggests (lParam), sized to a client area in
// twips at the new DPI.
void placeForDpi(HWND window, LPARAM suggestion, int clientWidthTwips, int clientHeightTwips,
                 UINT dpi);

void moveControl(HWND control, const RECT& r);

// The window class and styles of a child control.
struct ControlClass {
    const wchar_t* name;
    DWORD style;  // WS_CHILD and WS_VISIBLE come with every control
    DWORD exStyle = 0;
};
// Creates a named control, visible, with the control's identifier; nullptr when it cannot.
HWND createControl(HINSTANCE instance, HWND parent, Ctl control, const ControlClass& type,
                   const wchar_t* text = L"", const RECT& r = {});

// The window handles of a view's named controls.
class ControlHandles {
public:
    void add(Ctl control, HWND window) { m_handles[control] = window; }
    // nullptr for a control the window does not have (or no longer has).
    HWND operator()(Ctl control) const {
        const auto found = m_handles.find(control);
        return found == m_handles.end() ? nullptr : found->second;
    }
    void clear() { m_handles.clear(); }

private:
    std::map<Ctl, HWND> m_handles;
};

// The whole text of a window or control.
std::wstring windowText(HWND window);

// Where failures that reach a window procedure are written: the program's log while it runs.
void setEventFailureLog(RunLog* log) noexcept;
// Writes one failure with the place it was caught.
void reportFailure(const char* what, const std::source_location& where) noexcept;
// Writes one line of a view's own, for a failure the view answers itself.
void reportViewFailure(const std::wstring& line) noexcept;

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
