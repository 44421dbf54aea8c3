// The main window frmmain: banner, tabbed pages, buttons and status bar over the behaviour.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "app/program.h"
#include "app/win32/applications_view.h"
#include "app/win32/cache_list_view.h"
#include "app/win32/browser_lists_view.h"
#include "app/win32/cookie_list_view.h"
#include "app/win32/history_list_view.h"
#include "app/win32/operation_display.h"
#include "app/win32/tab_pages.h"
#include "app/win32/view_window.h"

namespace purgeon::win32 {

struct ControlPlace;

class Win32MainWindowView : public MainWindowView, private ViewWindow {
public:
    static void registerClass(HINSTANCE instance, HICON icon, HICON smallIcon);
    // True for a window of this class: the message loop gives it dialog keyboard handling.
    static bool isMainWindow(HWND window);
    // The window's own keys, before dialog keyboard handling: Ctrl+Tab, Ctrl+Shift+Tab,
    // Ctrl+PageDown and Ctrl+PageUp change the tab; Delete in a list deletes its selected items.
    // True when the key was the window's.
    static bool translateKey(HWND window, const MSG& message);

    // Creates the window hidden; its controls come a group at a time, then it is laid out and
    // centred on the screen (buildPart).
    Win32MainWindowView(HINSTANCE instance, Program& program, FrmMain& behaviour);
    ~Win32MainWindowView() override;

    bool buildPart() override;
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
    void splitColumns(Ctl list) override;
    void showCacheRows(const CacheList& list) override;
    void showCacheSelection(const CacheList& list) override;
    void showCacheTexts(const CacheList& list) override;
    void showCookieRows(const CookieList& list) override;
    void showCookieSelection(const CookieList& list) override;
    void showHistoryRows(const HistoryList& list) override;
    void setOperationRunning(bool running) override;
    void showProgress(int percent, const std::wstring& text) override;
    void showBrowserChoices(const std::vector<std::pair<std::wstring, bool>>& choices) override;
    void showKeepList(const std::vector<std::wstring>& sites) override;
    WindowPlacement placement() const override;
    void restorePlacement(const WindowPlacement& placement) override;
    ApplicationsView& applicationsView() override { return m_apps; }
    std::vector<int> columnWidths(Ctl list) const override;
    void setColumnWidths(Ctl list, const std::vector<int>& widths) override;

private:
    // The clock in the status bar's last panel is set again every second.
    static constexpr UINT_PTR kClockTimer = 1;

    // The window.
    void applyDpi(UINT previousDpi) override;
    void placed() override;
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;
    void windowGone() override;

    // How many controls one part of the window's making creates.
    static constexpr std::size_t kControlsPerPart = 12;
    void createControl(const ControlPlace& place);
    void setUpControls();
    void placeFirst();
    // Puts every control where the window's size and DPI want it.
    void layoutControls();
    void layoutStatusBar();
    void fitToText();
    // Where a control goes, in pixels within its parent, at the window's present size.
    RECT placement(Ctl control) const;
    // How much wider and taller than its smallest size the client area is, in pixels.
    SIZE extraSize() const;
    // The window's frame at its smallest, at the DPI.
    SIZE smallestFrame(UINT atDpi) const;
    void onSized();
    // The texts that are shortened in their middle to fit: the fields that show paths, and the
    // status bar's first panel. A field shows its whole text while it has the focus.
    bool isFitted(Ctl control) const;
    void showFitted(Ctl control);
    void showFittedStatus();
    void fieldFocusChanged(Ctl source);
    void stepTab(int step);
    // Delete pressed in a list: the tab's own button for it, when it can be used now.
    bool deleteKey(HWND list);
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
    void applicationsCommand(Ctl source);

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
    ApplicationsListView m_apps{m_behaviour};
    OperationDisplay m_operation{m_controls};
    std::size_t m_controlsMade = 0;
    bool m_controlsSetUp = false;
    bool m_whole = false;
    bool m_holdLayout = false;  // while the window takes its first place: laid out once, after
    bool m_busy = false;
    HWND m_lastFocus = nullptr;
    bool m_showing = false;  // inside show(): its activation is the program's own
    std::wstring m_clockText;
    std::map<Ctl, std::wstring> m_wholeTexts;  // the fitted fields' texts, unshortened
    std::wstring m_statusText;                 // the status bar's first panel, unshortened
    bool m_settingText = false;                // a fitted field's text changes by the program
    RECT m_normalFrame{};                      // the frame when neither maximised nor minimised
    bool m_shown = false;
    bool m_showMaximized = false;  // the first show maximises: it was left maximised
    UniqueGdiObject m_font;
    UniqueGdiObject m_boldFont;
    UniqueGdiObject m_appNameFont;
};

}  // namespace purgeon::win32
