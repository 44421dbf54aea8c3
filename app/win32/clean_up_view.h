// The small topmost "Working..." window frmCleanUp that names the exit-time run's steps.
#pragma once

#include <string>

#include "app/tray.h"
#include "app/win32/view_support.h"

namespace purgeon::win32 {

class Win32CleanUpView : public CleanUpView {
public:
    static void registerClass(HINSTANCE instance, HICON icon, HICON smallIcon);

    // Creates the window hidden, centred on the screen.
    explicit Win32CleanUpView(HINSTANCE instance);
    ~Win32CleanUpView() override;
    Win32CleanUpView(const Win32CleanUpView&) = delete;
    Win32CleanUpView& operator=(const Win32CleanUpView&) = delete;

    void showOnTop() override;
    void setAction(const std::wstring& text) override;
    void destroy() override;

private:
    template <typename View>
    friend LRESULT CALLBACK viewWindowProc(HWND, UINT, WPARAM, LPARAM);
    void windowCreated(HWND window);
    void windowGone();
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void applyDpi(UINT dpi);

    UINT m_dpi = USER_DEFAULT_SCREEN_DPI;
    HWND m_label = nullptr;
    UniqueGdiObject m_font;
    UniqueWindow m_window;
};

}  // namespace purgeon::win32
