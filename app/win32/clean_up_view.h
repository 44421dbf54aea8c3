// The small topmost "Working..." window frmCleanUp that names the exit-time run's steps.
#pragma once

#include <string>

#include "app/tray.h"
#include "app/win32/view_window.h"

namespace purgeon::win32 {

class Win32CleanUpView : public CleanUpView, private ViewWindow {
public:
    static void registerClass(HINSTANCE instance, HICON icon, HICON smallIcon);

    // Creates the window hidden, centred on the screen.
    explicit Win32CleanUpView(HINSTANCE instance);
    ~Win32CleanUpView() override;

    void showOnTop() override;
    void setAction(const std::wstring& text) override;
    void showProgress(int percent, const std::wstring& text) override;
    void destroy() override;

private:
    void applyDpi(UINT previousDpi) override;
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;
    void windowGone() override;

    HWND m_label = nullptr;
    HWND m_bar = nullptr;       // the step's progress
    HWND m_progress = nullptr;  // the same in words
    UniqueGdiObject m_font;
};

}  // namespace purgeon::win32
