// The hidden window frmtray: the notification icon, its messages and its menu.
#pragma once

#include <string>

#include "app/tray.h"
#include "app/win32/view_window.h"

#include <shellapi.h>

namespace purgeon::win32 {

class Win32TrayView : public TrayView, private ViewWindow {
public:
    static void registerClass(HINSTANCE instance, HICON icon, HICON smallIcon);

    // Creates the window, which is never shown.
    Win32TrayView(HINSTANCE instance, FrmTray& behaviour);
    ~Win32TrayView() override;

    void addIcon(const std::wstring& tip) override;
    void removeIcon() override;
    void setTip(const std::wstring& tip) override;
    void popupMenu() override;
    void startClickTimer() override;
    void stopClickTimer() override;
    void destroy() override;

private:
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;
    void windowGone() override;
    NOTIFYICONDATAW iconData(const std::wstring& tip) const;

    FrmTray& m_behaviour;
    HICON m_icon = nullptr;  // shared with the module: not released
    bool m_iconShown = false;
};

}  // namespace purgeon::win32
