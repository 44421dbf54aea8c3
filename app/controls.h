// Names of the windows' controls; the Win32 views use them as control identifiers.
#pragma once

namespace purgeon {

// Every named control of the main window, the splash and the "Working..." window.
enum class Ctl : int {
    // frmmain, outside the tabs
    Picture1 = 1,
    SSTab1,
    cmdHelp,
    cmdok,
    sbar,
    // General
    Frame1,
    chkautostart,
    chkdelOnStart,
    chkDelOnShutDown,
    Chkautoclearcookies,
    ChkAutoClearCache,
    ChkAutoClearHistory,
    Frame5,
    chkEmptyRecycleBin,
    chkdeltempfiles,
    // Cookies
    Frame2,
    Label1,
    txtCookieDir,
    Label2,
    lstcookies,
    cmdselectallcookies,
    cmdselectnocookies,
    cmdinvertcookiesselection,
    cmddelcookies,
    // Cache
    Frame3,
    List1,
    cmdDelSelFromCache,
    cmdDelAllFromCache,
    cmdinvertcachesel,
    chkDelCachedPasswords,
    // Browser History
    Frame4,
    URLs,
    cmdClearHistory,
    // Secure Wipe
    Frame6,
    Framefolder,
    Label3,
    txtFolderToWipe,
    cmdBrowseForFolder,
    Framefile,
    Label4,
    txtFileToWipe,
    cmdBrowseForFile,
    chkSecureForAll,
    Frame9,
    optQuick,
    optDOD,
    cmdWipe,
    // About
    Picture2,
    lblappname,
    lblproginfo,
    cmdcheckForUpdates,
    lblurl,
    Line1,
    // frmSplash
    lblversion,
    lblgeneral,
    lblaction,
    // frmCleanUp
    lblAction,
    // frmmain, About tab: opens the program's log (after the rest, so older identifiers stay)
    cmdViewLog,
};

// Tabs of SSTab1, in order.
inline constexpr int kTabGeneral = 0;
inline constexpr int kTabCookies = 1;
inline constexpr int kTabCache = 2;
inline constexpr int kTabHistory = 3;
inline constexpr int kTabSecureWipe = 4;
inline constexpr int kTabAbout = 5;
inline constexpr int kTabCount = 6;

}  // namespace purgeon
