// The splash window frmSplash: artwork and three labels over a white popup.
#pragma once

#include "app/splash.h"
#include "app/win32/view_window.h"

namespace purgeon::win32 {

class Win32SplashView : public SplashView, private ViewWindow {
public:
    static void registerClass(HINSTANCE instance, HICON icon, HICON smallIcon);

    // Creates the window hidden, centred on the screen.
    Win32SplashView(HINSTANCE instance, FrmSplash& behaviour);
    ~Win32SplashView() override;

    void show() override;
    void destroy() override;
    void setText(Ctl label, const std::wstring& text) override;
    void repaint(Ctl label) override;
    void continueLater() override;

private:
    void applyDpi(UINT previousDpi) override;
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;
    void windowGone() override;
    void createControls();

    FrmSplash& m_behaviour;
    ControlHandles m_controls;
    UniqueGdiObject m_versionFont;
    UniqueGdiObject m_generalFont;
    UniqueGdiObject m_actionFont;
};

}  // namespace purgeon::win32
