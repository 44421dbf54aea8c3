// The main window frmmain: banner, tabbed pages, buttons and status bar over the behaviour.
#pragma once

#include <array>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "app/program.h"
#include "app/win32/view_support.h"
#include "platform/win32/collation_win32.h"

#include <commctrl.h>

namespace purgeon::win32 {

class Win32MainWindowView : public MainWindowView {
public:
    static void registerClass(HINSTANCE instance, HICON icon, HICON smallIcon);
    // True for a window of this class: the message loop gives it dialog keyboard handling.
    static bool isMainWindow(HWND window);

    // Creates the window hidden, centred on the screen.
    Win32MainWindowView(HINSTANCE instance, Program& program, FrmMain& behaviour);
    ~Win32MainWindowView() override;
    Win32MainWindowView(const Win32MainWindowView&) = delete;
    Win32MainWindowView& operator=(const Win32MainWindowView&) = delete;

    void show() override;
    void destroy() override;
    void setCaption(const std::wstring& text) override;
    void setText(Ctl control, const std::wstring& text) override;
    void setValue(Ctl control, int value) override;
    void selectTab(int index) override;
    void setStatusText(const std::wstring& text) override;
    void setBusy(bool busy) override;
    void repaint() override;
    void focus(Ctl control) override;
    void splitCookieColumns() override;
    void showCacheRows(const CacheList& list) override;
    void showCacheSelection(const CacheList& list) override;
    void showCookieRows(const CookieList& list) override;
    void showCookieSelection(const CookieList& list) override;
    void showHistoryRows(const std::vector<HistoryRow>& rows) override;
    void setHistorySortKey(int key) override;

private:
    template <typename View>
    friend LRESULT CALLBACK viewWindowProc(HWND, UINT, WPARAM, LPARAM);
    void windowCreated(HWND window);
    void windowGone();
    static LRESULT CALLBACK pageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK cacheListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam);
    static int CALLBACK compareHistoryRows(LPARAM first, LPARAM second, LPARAM view);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    void createControls(HINSTANCE instance);
    void addColumns(Ctl listView, std::initializer_list<const wchar_t*> titles, int widthTwips);
    void applyDpi(UINT dpi);
    void layoutStatusBar();
    void fitToText();
    void capturePageBackground();
    void alignPagePattern(HDC dc, POINT tabOrigin) const;
    void paintPageBackground(HWND page, HDC dc) const;
    // Where a control goes, in pixels within its parent.
    RECT placement(Ctl control) const;
    void updateClock();
    void restoreCursor();

    void onActivate(WPARAM wParam, HWND previous);
    ActivationSource activationSource(HWND previous) const;
    void onCommand(Ctl control, int code);
    void onButtonClick(Ctl control);
    void onCacheListClick();
    bool onNotify(NMHDR& header, LRESULT& result);
    void onCookieText(NMLVDISPINFOW& info) const;
    int findCookie(const NMLVFINDITEMW& find) const;
    // The list view changed the selection of rows first to last (-1: every row).
    void onCookieSelection(int first, int last);
    void mirrorCookieSelection(const CookieList& list);
    bool onSetCursor(HWND target, int hitTest);
    LRESULT onControlColor(UINT message, HDC dc, HWND target);

    HWND handleOf(Ctl control) const;
    int checkState(Ctl control) const;

    Program& m_program;
    FrmMain& m_behaviour;
    UINT m_dpi = USER_DEFAULT_SCREEN_DPI;
    std::map<Ctl, HWND> m_controls;
    // One page per tab, over the tab control's body below its row of tabs.
    std::array<HWND, kTabCount> m_pages{};
    int m_pageTop = 0;
    bool m_busy = false;
    HWND m_lastFocus = nullptr;
    bool m_showing = false;  // inside show(): its activation is the program's own
    std::wstring m_clockText;
    // The cookie list shows these rows on demand; the behaviour holds their selection.
    std::vector<CookieRow> m_cookieRows;
    // Set while the view itself changes the cookie list's selection.
    bool m_mirroringCookies = false;
    // Each history item's data is its index here.
    std::vector<HistoryRow> m_historyRows;
    int m_historySortKey = 0;
    Win32Collation m_collation;
    UniqueGdiObject m_font;
    UniqueGdiObject m_boldFont;
    UniqueGdiObject m_appNameFont;
    UniqueGdiObject m_pageBitmap;
    UniqueGdiObject m_pageBrush;
    UniqueWindow m_window;
};

}  // namespace purgeon::win32
