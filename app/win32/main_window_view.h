// The main window frmmain: banner, tabbed pages, buttons and status bar over the behaviour.
#pragma once

#include <string>
#include <vector>

#include "app/program.h"
#include "app/win32/cache_list_view.h"
#include "app/win32/browser_lists_view.h"
#include "app/win32/cookie_list_view.h"
#include "app/win32/history_list_view.h"
#include "app/win32/operation_display.h"
#include "app/win32/tab_pages.h"
#include "app/win32/view_window.h"

namespace purgeon::win32 {

class Win32MainWindowView : public MainWindowView, private ViewWindow {
public:
    static void registerClass(HINSTANCE instance, HICON icon, HICON smallIcon);
    // True for a window of this class: the message loop gives it dialog keyboard handling.
    static bool isMainWindow(HWND window);

    // Creates the window hidden, centred on the screen.
    Win32MainWindowView(HINSTANCE instance, Program& program, FrmMain& behaviour);
    ~Win32MainWindowView() override;

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
    void showHistoryRows(const HistoryList& list) override;
    void setOperationRunning(bool running) override;
    void showProgress(int percent, const std::wstring& text) override;
    void showBrowserChoices(const std::vector<std::pair<std::wstring, bool>>& choices) override;
    void showKeepList(const std::vector<std::wstring>& sites) override;

private:
    // The window.
    void applyDpi(UINT previousDpi) override;
    void placed() override;
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;
    void windowGone() override;

    void createControls();
    void layoutStatusBar();
    void fitToText();
    // Where a control goes, in pixels within its parent.
    RECT placement(Ctl control) const;
    void updateClock();
    void restoreCursor();
    void restyled();

    void onActivate(WPARAM wParam, HWND previous);
    ActivationSource activationSource(HWND previous) const;
    bool onSetCursor(HWND target, int hitTest);
    LRESULT onControlColor(UINT message, HDC dc, HWND target);
    bool onDrawItem(const DRAWITEMSTRUCT& item);

    // The controls' commands and notifications, each to its handler.
    struct Command;
    static const Command kCommands[];
    void onCommand(Ctl source, int code);
    bool onNotify(NMHDR& header, LRESULT& result);
    template <void (FrmMain::*Click)()>
    void click(Ctl source);
    void checkBoxClicked(Ctl source);
    void optionClicked(Ctl source);
    void keepListChanged(Ctl source);
    void wipePathTyped(Ctl source);

    HWND handleOf(Ctl control) const { return m_controls(control); }
    int checkState(Ctl control) const;

    Program& m_program;
    FrmMain& m_behaviour;
    ControlHandles m_controls;
    TabPages m_pages;
    CookieListView m_cookies;
    CacheListView m_cache;
    HistoryListView m_history;
    BrowserListsView m_browserLists{m_behaviour};
    OperationDisplay m_operation{m_controls};
    bool m_busy = false;
    HWND m_lastFocus = nullptr;
    bool m_showing = false;  // inside show(): its activation is the program's own
    std::wstring m_clockText;
    UniqueGdiObject m_font;
    UniqueGdiObject m_boldFont;
    UniqueGdiObject m_appNameFont;
};

}  // namespace purgeon::win32
