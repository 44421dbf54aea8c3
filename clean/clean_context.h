// What an area cleans through: the services, the log, the options, the browsers' choices, the
// state the runs share, and where long work runs. Nothing of it is a window.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "areas/cache_list.h"
#include "areas/cookie_list.h"
#include "areas/url_history.h"
#include "clean/browser_areas.h"
#include "clean/clean_services.h"
#include "clean/operation.h"
#include "clean/run_log.h"
#include "prefs/preferences.h"
#include "wipe/enum_files.h"
#include "wipe/shred_batch.h"

namespace purgeon {

struct AppRules;
struct WindowsItems;

// What the runs share for as long as the program runs.
struct CleanState {
    // Whether the cookie listing shows "index.dat": set by the windowed start, cleared by the
    // first cookie deletion.
    bool includeIndexDat = false;
    // How many files the wipes and clearings have in flight at once (one keeps the listed order
    // exactly).
    std::size_t filesInFlight = kFlushThreads;
    // The files the last listing for a wipe or clearing found.
    FoundFileList foundFiles{L""};
    // The one history collection; null when the platform has no working history store.
    std::unique_ptr<CURLHistory> history;
    // Whether the history store was asked for yet (see loadHistory).
    bool historyAsked = false;
    // The rule file of other applications' traces and the ticked entries; null: none is read.
    AppRules* apps = nullptr;
    // What Windows itself remembers: the built-in rules and the system's operations; null: the
    // Windows area is left alone.
    WindowsItems* windows = nullptr;
};

// The lists the user sees, when a run is to act on what they show rather than on a fresh
// listing: the cache area deletes the entries the cache list holds (its caller lists afresh
// afterwards), and the cookie area the files of the cookie list, whose rows go with their files.
struct ShownLists {
    CacheList* cache = nullptr;
    CookieList* cookies = nullptr;
    const std::wstring* cookieFolder = nullptr;  // the folder the cookie list shows
    bool selectedCookiesOnly = false;            // only the selected rows, the browsers' ones too
};

struct CleanContext {
    CleanContext(CleanServices& services, RunLog& log, OperationHost& operations,
                 const OptionControls& options, BrowserAreas& browsers, CleanState& state,
                 std::function<void(const std::wstring&)> tell)
        : services(services),
          log(log),
          operations(operations),
          options(options),
          browsers(browsers),
          state(state),
          tell(std::move(tell)) {}

    CleanServices& services;
    RunLog& log;
    OperationHost& operations;
    // The options the areas read ("Delete Cached passwords") and the automatic runs' ticks.
    const OptionControls& options;
    // The browser profiles found, which are ticked, and the cookie keep list.
    BrowserAreas& browsers;
    CleanState& state;
    // What an area has to tell the user at once (the system's words for a registry value that
    // could not be read): a window shows it in a box, the command line writes it to the log.
    std::function<void(const std::wstring&)> tell;
    // Whether the cookies, cache and history areas take the ticked browsers' own along (so the
    // window's runs and the automatic runs do), or leave them to the browsers' area.
    bool withBrowsers = false;
    ShownLists shown;
};

}  // namespace purgeon
