// Names of the windows' controls; the Win32 views use them as control identifiers.
#pragma once

namespace purgeon {

// Every named control of the main window, the splash and the "Working..." window.
enum class Ctl : int {
    // frmmain, outside the tabs
    Picture1 = 1,  // the banner across the top
    SSTab1,        // the seven tabs
    cmdHelp,
    cmdok,
    sbar,  // status bar: action text and clock
    // General
    Frame1,  // "General Operation": the start, exit and automatic options
    chkautostart,
    chkdelOnStart,
    chkDelOnShutDown,
    Chkautoclearcookies,
    ChkAutoClearCache,
    ChkAutoClearHistory,
    Frame5,  // "Miscellaneous Options": Recycle Bin and temporary files
    chkEmptyRecycleBin,
    chkdeltempfiles,
    // Cookies
    Frame2,  // "Cookie Information"
    Label1,  // "Cookie Directory:"
    txtCookieDir,
    Label2,  // "Cookies:"
    lstcookies,
    cmdselectallcookies,
    cmdselectnocookies,
    cmdinvertcookiesselection,
    cmddelcookies,
    // Cache
    Frame3,  // "Cache Contents"
    List1,   // the cache entries
    cmdDelSelFromCache,
    cmdDelAllFromCache,
    cmdinvertcachesel,
    chkDelCachedPasswords,
    // Browser History
    Frame4,  // "Visited Sites"
    URLs,    // the visited-URL history list
    cmdClearHistory,
    // Secure Wipe
    Frame6,       // "Secure Erasing"
    Framefolder,  // "Wipe Folder"
    Label3,       // "Folder"
    txtFolderToWipe,
    cmdBrowseForFolder,
    Framefile,  // "Wipe File"
    Label4,     // "File"
    txtFileToWipe,
    cmdBrowseForFile,
    chkSecureForAll,
    Frame9,  // "Shredding Level"
    optQuick,
    optDOD,
    cmdWipe,
    // About
    Picture2,     // the About tab's artwork
    lblappname,   // title and version
    lblproginfo,  // the systems the program is for
    cmdcheckForUpdates,
    lblurl,
    Line1,  // the rule under the vendor's address
    // frmSplash
    lblversion,
    lblgeneral,  // the publisher line
    lblaction,   // the start-up step in progress
    // frmCleanUp
    lblAction,  // the exit run's step in progress
    // frmmain, About tab: opens the program's log (after the rest, so older identifiers stay)
    cmdViewLog,
    // frmmain, beside "&Help" while an operation runs: stops it
    cmdCancel,
    // frmCleanUp, under lblAction: the running step's progress, as a bar and in words
    pbrProgress,
    lblProgress,
    // frmmain, General: the browser profiles to clean, each with a tick
    FrameBrowsers,
    lstBrowsers,
    // frmmain, Cookies: the sites whose cookies are never deleted
    lblKeepCookies,
    lstKeepCookies,
    cmdKeepSite,
    cmdUnkeepSite,
    // frmmain, Secure Wipe: the free space of the folder's volume
    cmdWipeFreeSpace,
    // frmmain, General: cleans the areas ticked for the automatic runs, after asking
    cmdCleanNow,
    // frmmain, Applications: other applications' traces from the rule file
    FrameApps,
    lblRuleFile,  // where the rule file is, how many entries it holds, or where to put one
    lstApps,      // the detected entries, each with a tick
    cmdPreviewApp,
    cmdGetRules,
    cmdCleanApps,
    chkAutoApps,
};

// Tabs of SSTab1, in order.
inline constexpr int kTabGeneral = 0;
inline constexpr int kTabCookies = 1;
inline constexpr int kTabCache = 2;
inline constexpr int kTabHistory = 3;
inline constexpr int kTabSecureWipe = 4;
inline constexpr int kTabAbout = 5;
inline constexpr int kTabApplications = 6;
inline constexpr int kTabCount = 7;

}  // namespace purgeon
