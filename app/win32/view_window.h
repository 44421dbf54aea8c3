// The top-level window of a view: its class, its creation, its DPI and its messages.
#pragma once

#include "app/win32/view_support.h"

namespace purgeon::win32 {

// What kind of top-level window a view has.
struct WindowSpec {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
    // The client area in twips; none for a window that is never shown.
    int clientWidth = 0;
    int clientHeight = 0;
    // Created where the system puts new windows (on the monitor the program was started on), not
    // at the screen's corner.
    bool systemPlaced = false;
    // The user sizes the window: a change of DPI keeps its size as the system rescales it, rather
    // than going back to the client area above.
    bool resizable = false;
    HBRUSH background = nullptr;  // the dialog colour when none
};

// The base of every view: it creates the view's window with the view as the creation parameter,
// hands the view every message, keeps the window's size in twips when the DPI changes, and lets
// no exception out of the window procedure.
class ViewWindow {
public:
    ViewWindow(const ViewWindow&) = delete;
    ViewWindow& operator=(const ViewWindow&) = delete;

    // Registers the class, with the program's icon.
    static void registerClass(HINSTANCE instance, const WindowSpec& spec, HICON icon,
                              HICON smallIcon);
    // True for a window of the class.
    static bool isOfClass(HWND window, const WindowSpec& spec);

protected:
    explicit ViewWindow(const WindowSpec& spec) : m_spec(spec) {}
    // A view destroys its window itself, while it can still handle the window's last messages;
    // a window still there at this point is cut loose from the view first.
    ~ViewWindow();

    // Creates the window, hidden, and takes its DPI. Throws when the window cannot be created.
    void createWindow(HINSTANCE instance, const wchar_t* caption);
    // Scales the contents to the window's DPI and centres the window on its monitor.
    void placeOnScreen();
    void destroyWindow() { m_window.reset(); }

    HWND window() const { return m_window.get(); }
    HINSTANCE instance() const { return m_instance; }
    UINT dpi() const { return m_dpi; }

    // Fonts and controls follow dpi(); previousDpi is the one they were made for (the same at
    // creation).
    virtual void applyDpi(UINT previousDpi) { static_cast<void>(previousDpi); }
    // The window was sized for its DPI.
    virtual void placed() {}
    // Every message from the window's creation to its destruction.
    virtual LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    // The window is gone, and its controls with it.
    virtual void windowGone() {}

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void rescale(UINT dpi, LPARAM suggestion);

    const WindowSpec m_spec;
    HINSTANCE m_instance = nullptr;
    UINT m_dpi = USER_DEFAULT_SCREEN_DPI;
    UniqueWindow m_window;
};

}  // namespace purgeon::win32
