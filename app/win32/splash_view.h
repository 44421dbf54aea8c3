// The splash window frmSplash: artwork and three labels over a white popup.
#pragma once

#include <map>

#include "app/splash.h"
#include "app/win32/view_support.h"

namespace purgeon::win32 {

class Win32SplashView : public SplashView {
public:
    static void registerClass(HINSTANCE instance, HICON icon, HICON smallIcon);

    // Creates the window hidden, centred on the screen.
    Win32SplashView(HINSTANCE instance, FrmSplash& behaviour);
    ~Win32SplashView() override;
    Win32SplashView(const Win32SplashView&) = delete;
    Win32SplashView& operator=(const Win32SplashView&) = delete;

    void show() override;
    void destroy() override;
    void setText(Ctl label, const std::wstring& text) override;
    void repaint(Ctl label) override;

private:
    template <typename View>
    friend LRESULT CALLBACK viewWindowProc(HWND, UINT, WPARAM, LPARAM);
    void windowCreated(HWND window);
    void windowGone();
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void createControls();
    void applyDpi(UINT dpi);
    HWND control(Ctl label) const;

    FrmSplash& m_behaviour;
    UINT m_dpi = USER_DEFAULT_SCREEN_DPI;
    std::map<Ctl, HWND> m_controls;
    UniqueGdiObject m_versionFont;
    UniqueGdiObject m_generalFont;
    UniqueGdiObject m_actionFont;
    UniqueWindow m_window;
};

}  // namespace purgeon::win32
