// Behaviour of the main window frmmain: its options, lists, tabs, status bar and buttons.
#pragma once

#include <map>
#include <string>

#include "app/controls.h"
#include "areas/cache_list.h"

namespace purgeon {

class Program;

// What the main window needs from the window system. The Win32 view implements it; tests record it.
class MainWindowView {
public:
    virtual ~MainWindowView() = default;
    virtual void show() = 0;
    virtual void destroy() = 0;
    virtual void setCaption(const std::wstring& text) = 0;
    virtual void setText(Ctl control, const std::wstring& text) = 0;
    // Check boxes (0, 1, 2) and option buttons (0, 1).
    virtual void setValue(Ctl control, int value) = 0;
    virtual void selectTab(int index) = 0;
    virtual void setStatusText(const std::wstring& text) = 0;
    virtual void setBusy(bool busy) = 0;
    virtual void repaint() = 0;
    virtual void focus(Ctl control) = 0;
    virtual void splitCookieColumns() = 0;
    // The cache list was refilled, or its selection changed.
    virtual void showCacheRows(const CacheList& list) = 0;
    virtual void showCacheSelection(const CacheList& list) = 0;
};

class FrmMain {
public:
    explicit FrmMain(Program& program);
    FrmMain(const FrmMain&) = delete;
    FrmMain& operator=(const FrmMain&) = delete;

    void attach(MainWindowView& view) { m_view = &view; }
    MainWindowView& view() { return *m_view; }

    // Window events.
    void Form_Load();
    void Form_Activate();
    // Runs before every unload; the unload itself is never cancelled.
    void Form_QueryUnload();
    void SSTab1_Click(int previousTab);
    void cmdok_Click();
    void cmdHelp_Click();
    void lblurl_Click();
    void cmdDelSelFromCache_Click();
    void cmdDelAllFromCache_Click();
    void cmdinvertcachesel_Click();
    void List1_Click(int row);

    // Selects a tab; a change of tab runs SSTab1_Click, whoever made it.
    void selectTab(int index);
    int selectedTab() const { return m_tab; }

    // Option controls. Assigning a different value behaves as the user's click on the box.
    int value(Ctl control) const;
    void setValue(Ctl control, int value);

    // Status bar, first panel, and the hourglass.
    void setStatusText(const std::wstring& text);
    const std::wstring& statusText() const { return m_statusText; }
    void setBusy(bool busy);
    bool busy() const { return m_busy; }

    // Operations of the tabs.
    void loadUserPrefs();
    void saveUserPrefs();
    void loadCookiesList();
    void loadCacheContents();
    void GetCacheURLList();
    void deletecache();
    void invertsel();
    void loadURLHistory();

    const CacheList& cacheList() const { return m_cache; }

private:
    Program& m_program;
    MainWindowView* m_view = nullptr;
    int m_tab = kTabGeneral;
    std::map<Ctl, int> m_values;
    std::wstring m_statusText;
    bool m_busy = false;
    CacheList m_cache;
};

}  // namespace purgeon
