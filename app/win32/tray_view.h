// The hidden window frmtray: the notification icon, its messages and its menu.
#pragma once

#include <string>

#include "app/tray.h"
#include "app/win32/view_support.h"

namespace purgeon::win32 {

class Win32TrayView : public TrayView {
public:
    static void registerClass(HINSTANCE instance, HICON icon, HICON smallIcon);

    // Creates the window, which is never shown.
    Win32TrayView(HINSTANCE instance, FrmTray& behaviour);
    ~Win32TrayView() override;
    Win32TrayView(const Win32TrayView&) = delete;
    Win32TrayView& operator=(const Win32TrayView&) = delete;

    void addIcon(const std::wstring& tip) override;
    void removeIcon() override;
    void popupMenu() override;
    void destroy() override;

private:
    template <typename View>
    friend LRESULT CALLBACK viewWindowProc(HWND, UINT, WPARAM, LPARAM);
    void windowCreated(HWND window);
    void windowGone();
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    FrmTray& m_behaviour;
    HICON m_icon = nullptr;  // shared with the module: not released
    bool m_iconShown = false;
    UniqueWindow m_window;
};

}  // namespace purgeon::win32
