// The browsers' profiles as the program cleans them: which are ticked, the cookie keep list, and
// clearing their cookies, cache and history, with what each clear did.
#pragma once

#include <stop_token>
#include <string>
#include <vector>

#include "areas/cache_list.h"
#include "areas/cookie_list.h"
#include "areas/history_view.h"
#include "browsers/browser_profile.h"
#include "browsers/cookie_keep_list.h"
#include "clean/run_log.h"
#include "platform/files.h"
#include "platform/settings_store.h"
#include "platform/system_errors.h"
#include "platform/system_folders.h"
#include "prefs/option_table.h"
#include "wipe/enum_files.h"

namespace purgeon {

struct BrowserChoice {
    BrowserProfile profile;
    bool ticked = true;
};

// What clearing one area in the ticked browsers did.
struct BrowserClearing {
    std::vector<std::wstring> lines;     // one per profile, for the log
    std::vector<BrowserProfile> inUse;   // left alone: the browser runs with them
    std::vector<std::wstring> failures;  // the lines of profiles not fully cleared
    bool incomplete = false;             // something could not be removed
    std::size_t removed = 0;             // cookies, pages or files removed, all profiles
};

class BrowserAreas {
public:
    // Finds the profiles anew and reads which are ticked and the keep list from the settings.
    // A value that cannot be read leaves every profile ticked and the keep list empty, and gives
    // the failure; a browser's folder that could not be searched is kept in unlisted().
    Status load(FileSystem& files, SystemFolders& folders, SettingsStore& settings,
                const std::wstring& application);
    Status save(SettingsStore& settings, const std::wstring& application) const;

    const std::vector<BrowserChoice>& choices() const { return m_choices; }
    // Whether any profile is ticked: with none, there is no browser work to run.
    bool anyTicked() const;
    void setTicked(std::size_t index, bool ticked);

    const CookieKeepList& keepList() const { return m_keep; }
    CookieKeepList& keepList() { return m_keep; }

    // The browsers' folders the last search for profiles could not list.
    const std::vector<UnlistedFolder>& unlisted() const { return m_unlisted; }

private:
    std::vector<BrowserChoice> m_choices;
    CookieKeepList m_keep;
    std::vector<UnlistedFolder> m_unlisted;
};

// Loads the browsers' choices for the program (see BrowserAreas::load); what could not be read
// or searched leaves its lines in the log.
void loadBrowserChoices(BrowserAreas& browsers, FileSystem& files, SystemFolders& folders,
                        SettingsStore& settings, SystemErrors& errors, RunLog& log);

// The clears, each on the worker with its own copies. A profile whose browser runs is skipped.
// Cookies: every cookie of the ticked profiles, or only the selected rows when selected is given;
// the keep list is honoured either way.
BrowserClearing clearBrowserCookies(FileSystem& files, const std::vector<BrowserChoice>& choices,
                                    const CookieKeepList& keep,
                                    const std::vector<CookieRow>* selected = nullptr);
BrowserClearing clearBrowserCaches(FileSystem& files, const std::vector<BrowserChoice>& choices,
                                   std::stop_token stop = {});
BrowserClearing clearBrowserHistories(FileSystem& files, const std::vector<BrowserChoice>& choices,
                                      std::stop_token stop = {});
BrowserClearing removeBrowserCacheRow(FileSystem& files, const std::vector<BrowserChoice>& choices,
                                      const BrowserCacheRow& row);

// "Close Chrome to clean it", one line per browser that held a profile; empty when none did.
std::wstring closeBrowsersText(const BrowserClearing& run);

}  // namespace purgeon
