// Behaviour of the main window frmmain: its options, lists, tabs, status bar and buttons.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/applications_tab.h"
#include "app/controls.h"
#include "app/listing.h"
#include "app/window_placement.h"
#include "areas/cache_list.h"
#include "areas/cookie_list.h"
#include "areas/history_view.h"
#include "browsers/browser_profile.h"
#include "clean/area.h"
#include "clean/clean_context.h"
#include "clean/clean_run.h"
#include "prefs/preferences.h"
#include "wipe/folder_guard.h"
#include "wipe/shred.h"

namespace purgeon {

class CacheAddressQueue;

class Program;

// What the main window needs from the window system. The Win32 view implements it; tests record it.
class MainWindowView {
public:
    virtual ~MainWindowView() = default;
    // Makes the next part of the window: true once it is whole (at once, for a view that is made
    // whole). Nothing else is asked of the view before.
    virtual bool buildPart() { return true; }
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
    // Shares a list's width out among its columns, as on a first start (the cookie and history
    // lists, whose widths the user has not kept).
    virtual void splitColumns(Ctl list) = 0;
    // An operation runs, or ended: the controls that would start another are disabled meanwhile,
    // "&Cancel" shows, and so does the progress in the status bar and on the taskbar button.
    virtual void setOperationRunning(bool running) = 0;
    virtual void showProgress(int percent, const std::wstring& text) = 0;
    // The cache list was refilled, took more rows or changed its order; or its selection changed.
    virtual void showCacheRows(const CacheList& list) = 0;
    virtual void showCacheSelection(const CacheList& list) = 0;
    // Only the texts of cache rows changed (addresses came): the rows on screen show them now.
    virtual void showCacheTexts(const CacheList& list) = 0;
    // The cookie list was refilled (or lost rows), or its selection changed.
    virtual void showCookieRows(const CookieList& list) = 0;
    virtual void showCookieSelection(const CookieList& list) = 0;
    // The history list was emptied, took more rows or changed its order: the view asks the
    // behaviour for the texts of the rows it shows (FrmMain::historyText).
    virtual void showHistoryRows(const HistoryList& list) = 0;
    // The browser profiles found, each with its tick; and the cookie keep list's sites.
    virtual void showBrowserChoices(const std::vector<std::pair<std::wstring, bool>>& choices) = 0;
    virtual void showKeepList(const std::vector<std::wstring>& sites) = 0;
    // Where the window is (its restored frame, and whether it is maximised), to be kept for the
    // next start; and putting it back there, on the monitors there are now, before it shows.
    virtual WindowPlacement placement() const = 0;
    virtual void restorePlacement(const WindowPlacement& placement) = 0;
    // The Applications tab's list, rule file text and automatic box.
    virtual ApplicationsView& applicationsView() = 0;
    // The widths of a list's columns (lstcookies, List1, URLs), at 96 DPI; and setting them
    // (widths that do not fit the list's columns change nothing).
    virtual std::vector<int> columnWidths(Ctl list) const = 0;
    virtual void setColumnWidths(Ctl list, const std::vector<int>& widths) = 0;
};

// Where the main window's activation came from.
enum class ActivationSource {
    shown,         // the program showed it: start, "Show Purgeon", "About", a double click
    ownWindow,     // another of the program's own windows handed over
    ownBox,        // one of the program's message boxes closed
    otherProgram,  // the user came back from another program
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
    // Runs Form_Activate when the window is shown or comes from another of the program's own
    // windows; never after its own message boxes or when the user comes back from elsewhere, so
    // the choices made on the window are not undone.
    void activated(ActivationSource source);
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
    // The user selected or deselected a row of the cache list, or moved to one (rows in the
    // listing's order).
    void List1_ItemSelected(int row, bool selected);
    void List1_ItemFocused(int row);
    // A click on a column header of the cache list (columns from 1).
    void List1_ColumnClick(int column);
    // The cache list shows the row at that place: an address it awaits is read next.
    void List1_RowShown(int place);
    void cmddelcookies_Click();
    void cmdselectallcookies_Click();
    void cmdselectnocookies_Click();
    void cmdinvertcookiesselection_Click();
    // The user selected or deselected a row of the cookie list.
    void lstcookies_ItemSelected(int row, bool selected);
    // A click on a column header of the cookie list (columns from 1).
    void lstcookies_ColumnClick(int column);
    void cmdClearHistory_Click();
    // A click on a column header of the history list (columns from 1).
    void URLs_ColumnClick(int column);
    void cmdBrowseForFile_Click();
    void cmdBrowseForFolder_Click();
    void cmdWipe_Click();
    // Files and folders dropped on the Secure Wipe tab: the first folder fills the folder field,
    // the first file the file field; dropped elsewhere, nothing happens.
    void filesDropped(const std::vector<std::wstring>& paths);
    // Wipes the free space of the volume that the folder field (or else a picked folder) names.
    void cmdWipeFreeSpace_Click();
    void cmdcheckForUpdates_Click();
    void cmdViewLog_Click();
    // Asks, listing what each area ticked for the automatic runs would remove, then cleans them
    // with the automatic runs' loop and tells what went and what was left.
    void cmdCleanNow_Click();
    // Stops the running operation at its next step.
    void cmdCancel_Click();
    // The Browsers list of the General tab: the user ticked or unticked a profile.
    void lstBrowsers_ItemChecked(int row, bool checked);
    // The cookie keep list: the sites of the selected cookies join it; the chosen site leaves it.
    void cmdKeepSite_Click();
    void cmdUnkeepSite_Click();
    void lstKeepCookies_Click(int row);

    // Selects a tab; a change of tab runs SSTab1_Click, whoever made it.
    void selectTab(int index);
    int selectedTab() const { return m_tab; }

    // Option controls. Assigning a different value behaves as the user's click on the box.
    int value(Ctl control) const;
    void setValue(Ctl control, int value);
    // Text boxes: the user typed, or the program writes.
    void textChanged(Ctl control, const std::wstring& text) { m_texts[control] = text; }
    void setText(Ctl control, const std::wstring& text);
    std::wstring text(Ctl control) const;

    // Status bar, first panel, and the hourglass.
    void setStatusText(const std::wstring& text);
    const std::wstring& statusText() const { return m_statusText; }
    void setBusy(bool busy);
    bool busy() const { return m_busy; }

    // The option controls as the preferences store and the runs read them.
    const OptionControls& options() const { return m_options; }

    // Operations of the tabs. Loading the stored options acts as the user's ticks would: each of
    // the two boxes with an immediate action that the load changes then runs its action, the
    // Recycle Bin's first.
    void loadUserPrefs();
    void saveUserPrefs();
    // The lists are listed off the window's thread: each call starts a listing afresh, whose
    // rows show as they come ("Listing..." in the status bar meanwhile).
    void loadCookiesList();
    void EnumCookies(const std::wstring& folder);
    // interactive: ask first and delete the selected rows; otherwise delete every row. The
    // cookie folder must pass the folder guard first; a refusal is told in a box (interactive)
    // or in the log.
    void deletecookies(bool interactive);
    void loadCacheContents();
    void GetCacheURLList();
    // The Cache tab's listing, off the window's thread: the URL cache, the ticked browsers'
    // entries by name, then their addresses, those on screen first.
    void listCache(std::stop_token stop, const ListingHand& hand,
                   const std::vector<std::pair<std::size_t, BrowserProfile>>& profiles, int column,
                   bool ascending, CacheAddressQueue& addresses);
    // interactive: a browser left alone because it runs is told in a box, not only in the log.
    void deletecache(bool interactive = false);
    void invertsel();
    void loadURLHistory();
    // Wipes the file and the folder named on the Secure Wipe tab and tells what became of them.
    void wipeOut();
    void checkForUpdates();

    // The lists the window shows, for a run that is to act on them.
    ShownLists shownLists();
    // An automatic run is about to clean the area, or has: the window lists afresh what the run
    // acts on and holds the hourglass until it shows what went.
    void runStarting(const Area& area);
    void runFinished(const Area& area, const AreaResult& result);

    const CacheList& cacheList() const { return m_cache; }
    const CookieList& cookieList() const { return m_cookies; }
    const HistoryList& historyList() const { return m_history; }
    int historySortKey() const { return m_history.sortColumn(); }
    // The text of the history row shown at a place, in a column (from 0).
    std::wstring historyText(std::size_t place, std::size_t column);
    // Whether one of the lists is being listed.
    bool listing() const;
    // The Applications tab (made the first time it is asked for).
    ApplicationsTab& applications();

private:
    // The window's option controls as the preferences store sees them.
    class Options : public OptionControls {
    public:
        explicit Options(FrmMain& window) : m_window(window) {}
        int checkBox(std::wstring_view key) const override;
        void setCheckBox(std::wstring_view key, int value) override;
        bool quick() const override;
        void setQuick(bool selected) override;
        void setDod(bool selected) override;

    private:
        FrmMain& m_window;
    };

    // Runs the area through the program's run loop with this window's options, acting on what
    // the lists given show, and gives what came of it.
    AreaResult runArea(const Area& area, const ShownLists& shown = {}, bool withBrowsers = true,
                       CleanMode mode = CleanMode::clean);
    // The area cleaned at once, as its box's tick asks: measured first when the user ticked it,
    // for the summary.
    void cleanTicked(const Area& area, const wchar_t* busyText, bool hourglass);
    // After the user's own action on a tab: the summary box of what went and what was left and
    // why (with the browsers to close), as Clean Now ends; planned is what the tab's list showed
    // for the action to take, when it knows (cleanSummary's preview).
    void tellSummary(const CleanReport& report, const CleanReport& planned = {});
    void chkEmptyRecycleBin_Click();
    void chkdeltempfiles_Click();
    // The warning before a wipe, naming what will be wiped; empty when the folder is refused
    // (the user has been told why).
    std::wstring wipeWarning();
    // The folder named for wiping, judged by the folder guard; a refusal is told at once.
    FolderCheck checkWipeFolder(const std::wstring& folder);
    // False when the wipe goes no further: stopped by the user, or the window is to close.
    bool wipeNamedFile(WipeMethod method);
    void wipeNamedFolder(WipeMethod method);
    void showBrowserChoices();
    void showKeepList();
    // Starts a listing on the runner (made the first time); "Listing..." shows while any runs.
    void startListing(std::unique_ptr<ListingRunner>& runner, ListingWork work);
    // Waits, the window answering, until the list's listing has ended.
    void awaitListing(const std::unique_ptr<ListingRunner>& runner);
    // The ticked browser profiles with their places in the program's list, copied for a
    // listing's worker.
    std::vector<std::pair<std::size_t, BrowserProfile>> tickedProfiles() const;
    void stopListings();
    void showListingStatus();
    void showCacheTotal();
    // A box after the user's own action; always a line in the log.
    void tell(const std::wstring& text, unsigned style);

    Program& m_program;
    Options m_options{*this};
    MainWindowView* m_view = nullptr;
    int m_tab = kTabGeneral;
    std::map<Ctl, int> m_values;
    std::map<Ctl, std::wstring> m_texts;
    bool m_reactions = true;
    bool m_loadingPrefs = false;  // the boxes change by the program, not by the user's click
    std::wstring m_statusText;
    bool m_busy = false;
    bool m_busyForRun = false;  // the hourglass an automatic run's step holds
    CacheList m_cache;
    CookieList m_cookies;
    HistoryList m_history;
    std::wstring m_cookieFolder;
    int m_keepRow = -1;           // the keep list's chosen site
    std::set<Ctl> m_columnsKept;  // the lists whose widths came from the settings
    bool m_columnsSplit = false;
    std::wstring m_openFileName;  // the file dialog starts from the last choice
    // Last, so that they stop before the lists they fill go.
    std::unique_ptr<ListingRunner> m_cookieListing;
    std::unique_ptr<ListingRunner> m_cacheListing;
    std::shared_ptr<CacheAddressQueue> m_cacheAddresses;  // of the listing under way
    std::unique_ptr<ListingRunner> m_historyListing;
    std::unique_ptr<ApplicationsTab> m_applications;
};

}  // namespace purgeon
