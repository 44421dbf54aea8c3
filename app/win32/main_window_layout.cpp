// The main window's control table.
#include "app/win32/main_window_layout.h"

#include <stdexcept>

#include <commctrl.h>

namespace purgeon::win32 {

namespace {

using enum ControlKind;

struct Offset {
    int x;
    int y;
};
constexpr TwipsRect at(Offset origin, int left, int top, int width, int height) {
    return TwipsRect{origin.x + left, origin.y + top, width, height};
}

// Every page's outer frame sits at the same place on the tab control.
constexpr TwipsRect kPageFrame{240, 480, 7455, 3855};
constexpr Offset kPage{kPageFrame.left, kPageFrame.top};
// General: the miscellaneous options and the browsers inside the main frame.
constexpr Offset kFrame5{kPage.x + 3360, kPage.y + 1080};
constexpr Offset kFrameBrowsers{kPage.x + 240, kPage.y + 2805};
// Secure Wipe: the inner frames.
constexpr Offset kFolderFrame{kPage.x + 240, kPage.y + 300};
constexpr Offset kFileFrame{kPage.x + 240, kPage.y + 1200};
constexpr Offset kLevelFrame{kPage.x + 240, kPage.y + 2520};

constexpr ControlPlace kControls[] = {
    {Ctl::Picture1, kNoTab, Picture, L"", {0, 0, 8175, 1515}, kFillWidth},
    {Ctl::SSTab1, kNoTab, Tabs, L"", {120, 1560, 7935, 4815}, kFill},

    // General
    {Ctl::Frame1, kTabGeneral, Frame, L"General Operation", kPageFrame, kFill},
    {Ctl::cmdCleanNow, kTabGeneral, Button, L"Clean &Now", at(kPage, 5400, 480, 1695, 375), kRight},
    {Ctl::chkautostart, kTabGeneral, Check, L"&Start up with windows",
     at(kPage, 240, 720, 3000, 255)},
    {Ctl::chkdelOnStart, kTabGeneral, Check, L"Purgeon on s&tartup",
     at(kPage, 240, 1080, 3000, 255)},
    {Ctl::chkDelOnShutDown, kTabGeneral, Check, L"Purgeon on shut&down",
     at(kPage, 240, 1440, 3000, 255)},
    {Ctl::Chkautoclearcookies, kTabGeneral, Check, L"Delete Coo&kies Automatically",
     at(kPage, 240, 1800, 3000, 255)},
    {Ctl::ChkAutoClearCache, kTabGeneral, Check, L"Clear Cach&e Automatically",
     at(kPage, 240, 2160, 3000, 255)},
    {Ctl::ChkAutoClearHistory, kTabGeneral, Check, L"Clear visited URL H&istory Automatically",
     at(kPage, 240, 2520, 4815, 255)},
    {Ctl::Frame5, kTabGeneral, Frame, L"Miscellaneous Options", at(kPage, 3360, 1080, 3735, 1215),
     kRight},
    {Ctl::chkEmptyRecycleBin, kTabGeneral, Check, L"Empty &Recycle Bin",
     at(kFrame5, 360, 480, 3135, 255), kRight},
    {Ctl::chkdeltempfiles, kTabGeneral, Check, L"Clear Te&mporary files",
     at(kFrame5, 360, 840, 3135, 255), kRight},
    {Ctl::FrameBrowsers, kTabGeneral, Frame, L"Browsers", at(kPage, 240, 2805, 6975, 990), kFill},
    {Ctl::lstBrowsers, kTabGeneral, ListView, L"", at(kFrameBrowsers, 120, 225, 6735, 705), kFill,
     L"Browsers list"},

    // Cookies
    {Ctl::Frame2, kTabCookies, Frame, L"Cookie Information", kPageFrame, kFill},
    {Ctl::Label1, kTabCookies, Label, L"Cookie Directory:", at(kPage, 240, 420, 1740, 255)},
    {Ctl::txtCookieDir, kTabCookies, ReadOnlyEdit, L"", at(kPage, 2040, 360, 5175, 315),
     kFillWidth},
    {Ctl::Label2, kTabCookies, Label, L"Cookies:", at(kPage, 240, 780, 1455, 255)},
    {Ctl::lstcookies, kTabCookies, ListView, L"", at(kPage, 240, 1035, 6975, 1455),
     Anchors{0, 0, 100, 80}, L"Cookies list"},
    {Ctl::lblKeepCookies, kTabCookies, Label, L"Never delete cookies of:",
     at(kPage, 240, 2625, 1740, 510), Anchors{0, 80, 0, 80}},
    {Ctl::lstKeepCookies, kTabCookies, ListBox, L"", at(kPage, 2040, 2580, 3240, 630),
     Anchors{0, 80, 100, 100}, L"Kept sites list"},
    {Ctl::cmdKeepSite, kTabCookies, Button, L"&Keep Site", at(kPage, 5400, 2580, 1815, 300),
     Anchors{100, 80, 100, 80}},
    {Ctl::cmdUnkeepSite, kTabCookies, Button, L"Do&n't Keep", at(kPage, 5400, 2910, 1815, 300),
     Anchors{100, 80, 100, 80}},
    {Ctl::cmdselectallcookies, kTabCookies, Button, L"Select &All", at(kPage, 240, 3330, 1575, 375),
     kBottom},
    {Ctl::cmdselectnocookies, kTabCookies, Button, L"Select Non&e",
     at(kPage, 1935, 3330, 1575, 375), kBottom},
    {Ctl::cmdinvertcookiesselection, kTabCookies, Button, L"&Invert Selection",
     at(kPage, 3630, 3330, 1575, 375), kBottom},
    {Ctl::cmddelcookies, kTabCookies, Button, L"&Delete Cookies", at(kPage, 5520, 3330, 1695, 375),
     kBottomRight},

    // Cache
    {Ctl::Frame3, kTabCache, Frame, L"Cache Contents", kPageFrame, kFill},
    {Ctl::List1, kTabCache, ListView, L"", at(kPage, 240, 360, 6975, 2490), kFill, L"Cache list"},
    {Ctl::cmdDelSelFromCache, kTabCache, Button, L"Delete &Selected",
     at(kPage, 240, 2970, 1575, 375), kBottom},
    {Ctl::cmdinvertcachesel, kTabCache, Button, L"&Invert Selection",
     at(kPage, 1935, 2970, 1575, 375), kBottom},
    {Ctl::cmdDelAllFromCache, kTabCache, Button, L"C&lear Cache", at(kPage, 5640, 2970, 1575, 375),
     kBottomRight},
    {Ctl::chkDelCachedPasswords, kTabCache, Check, L"Delete Cached &passwords",
     at(kPage, 240, 3465, 3495, 255), kBottom},

    // Browser History
    {Ctl::Frame4, kTabHistory, Frame, L"Visited Sites", kPageFrame, kFill},
    {Ctl::URLs, kTabHistory, ListView, L"", at(kPage, 240, 360, 6975, 2850), kFill,
     L"History list"},
    {Ctl::cmdClearHistory, kTabHistory, Button, L"C&lear History", at(kPage, 5640, 3330, 1575, 375),
     kBottomRight},

    // Secure Wipe
    {Ctl::Frame6, kTabSecureWipe, Frame, L"Secure Erasing", kPageFrame, kFill},
    {Ctl::Framefolder, kTabSecureWipe, Frame, L"Wipe Folder", at(kFolderFrame, 0, 0, 6975, 795),
     kFillWidth},
    {Ctl::Label3, kTabSecureWipe, Label, L"Folder", at(kFolderFrame, 240, 360, 735, 255)},
    {Ctl::txtFolderToWipe, kTabSecureWipe, Edit, L"", at(kFolderFrame, 1020, 315, 4335, 315),
     kFillWidth},
    {Ctl::cmdBrowseForFolder, kTabSecureWipe, Button, L"&Browse...",
     at(kFolderFrame, 5475, 285, 1260, 375), kRight},
    {Ctl::Framefile, kTabSecureWipe, Frame, L"Wipe File", at(kFileFrame, 0, 0, 6975, 795),
     kFillWidth},
    {Ctl::Label4, kTabSecureWipe, Label, L"File", at(kFileFrame, 240, 360, 735, 255)},
    {Ctl::txtFileToWipe, kTabSecureWipe, Edit, L"", at(kFileFrame, 1020, 315, 4335, 315),
     kFillWidth},
    {Ctl::cmdBrowseForFile, kTabSecureWipe, Button, L"B&rowse...",
     at(kFileFrame, 5475, 285, 1260, 375), kRight},
    {Ctl::chkSecureForAll, kTabSecureWipe, Check, L"Secure Wipe &all other areas",
     at(kPage, 240, 2115, 3495, 255)},
    {Ctl::Frame9, kTabSecureWipe, Frame, L"Shredding Level", at(kLevelFrame, 0, 0, 3975, 1095)},
    {Ctl::optQuick, kTabSecureWipe, Option, L"&Quick( 3 passes)",
     at(kLevelFrame, 240, 330, 3495, 255)},
    {Ctl::optDOD, kTabSecureWipe, Option, L"US &DOD (7passes)",
     at(kLevelFrame, 240, 690, 3495, 255)},
    {Ctl::cmdWipeFreeSpace, kTabSecureWipe, Button, L"Wipe &free space",
     at(kPage, 5160, 2760, 1815, 375), kRight},
    {Ctl::cmdWipe, kTabSecureWipe, Button, L"&Wipe", at(kPage, 5520, 3240, 1455, 375), kRight},

    // About
    {Ctl::Picture2, kTabAbout, Picture, L"", {120, 360, 1455, 4335}},
    {Ctl::lblappname, kTabAbout, Label, L"", {1680, 480, 5295, 255}, kFillWidth},
    {Ctl::lblproginfo, kTabAbout, Label, L"", {1680, 840, 6015, 975}, kFillWidth},
    {Ctl::cmdcheckForUpdates,
     kTabAbout,
     Button,
     L"Check for &updates...",
     {5880, 2280, 1695, 375},
     kRight},
    {Ctl::cmdViewLog, kTabAbout, Button, L"View &log...", {5880, 2760, 1695, 375}, kRight},
    {Ctl::lblurl, kTabAbout, Label, L"", {1680, 3120, 2175, 255}},
    {Ctl::Line1, kTabAbout, Rule, L"", {1560, 3600, 6240, 30}, kFillWidth},

    // Applications
    {Ctl::FrameApps, kTabApplications, Frame, L"Windows and Applications' Traces", kPageFrame,
     kFill},
    {Ctl::lblRuleFile, kTabApplications, Label, L"", at(kPage, 240, 300, 6975, 450), kFillWidth},
    {Ctl::lstApps, kTabApplications, ListView, L"", at(kPage, 240, 810, 6975, 2070), kFill,
     L"Applications list"},
    {Ctl::cmdPreviewApp, kTabApplications, Button, L"&Preview Files...",
     at(kPage, 240, 3000, 1575, 375), kBottom},
    {Ctl::cmdGetRules, kTabApplications, Button, L"&Get rules...", at(kPage, 1935, 3000, 1575, 375),
     kBottom},
    {Ctl::cmdCleanApps, kTabApplications, Button, L"C&lean Applications",
     at(kPage, 5280, 3000, 1935, 375), kBottomRight},
    {Ctl::chkAutoApps, kTabApplications, Check, L"Clean applications &automatically",
     at(kPage, 240, 3465, 3495, 255), kBottom},

    {Ctl::cmdHelp, kNoTab, Button, L"&Help", {5280, 6480, 1335, 375}, kBottomRight},
    {Ctl::cmdok, kNoTab, Button, L"&Ok", {6720, 6480, 1335, 375}, kBottomRight},
    {Ctl::cmdCancel, kNoTab, Button, L"&Cancel", {3840, 6480, 1335, 375}, kBottomRight},
    {Ctl::sbar, kNoTab, StatusBar, L"", {}},
};

}  // namespace

const wchar_t* const kTabCaptions[kTabCount] = {
    L"General",     L"Cookies", L"Cache",        L"Browser History",
    L"Secure Wipe", L"&About",  L"Applications",
};

std::span<const ControlPlace> mainWindowControls() { return kControls; }

const ControlPlace* findPlace(Ctl control) {
    for (const ControlPlace& place : kControls) {
        if (place.control == control) return &place;
    }
    return nullptr;
}

const ControlPlace& placeOf(Ctl control) {
    const ControlPlace* place = findPlace(control);
    if (place == nullptr) throw std::logic_error("control without a place");
    return *place;
}

RECT anchoredRect(const RECT& smallest, const Anchors& grow, int extraWidth, int extraHeight) {
    const auto share = [](int extra, int percent) { return ::MulDiv(extra, percent, 100); };
    return RECT{smallest.left + share(extraWidth, grow.left),
                smallest.top + share(extraHeight, grow.top),
                smallest.right + share(extraWidth, grow.right),
                smallest.bottom + share(extraHeight, grow.bottom)};
}

ControlClass controlClassOf(const ControlPlace& place) {
    constexpr DWORD kTab = WS_TABSTOP | WS_GROUP;
    switch (place.kind) {
        case Label: {
            DWORD style = SS_LEFT;
            // Texts the program supplies are shown as they are, ampersands included.
            if (place.text[0] == L'\0') style |= SS_NOPREFIX;
            if (place.control == Ctl::lblurl) style |= SS_NOTIFY;
            return {L"STATIC", style};
        }
        case Picture:
            return {L"STATIC", SS_OWNERDRAW};
        case Rule:
            return {L"STATIC", SS_ETCHEDHORZ};
        case Button:
            return {L"BUTTON", BS_PUSHBUTTON | kTab};
        case Check:
            return {L"BUTTON", BS_AUTOCHECKBOX | kTab};
        case Option:
            // The first option button opens the group; arrow keys move within it.
            return {L"BUTTON",
                    BS_AUTORADIOBUTTON | (place.control == Ctl::optQuick ? kTab : DWORD{0})};
        case Frame:
            return {L"BUTTON", BS_GROUPBOX};
        case Edit:
            return {L"EDIT", ES_AUTOHSCROLL | kTab, WS_EX_CLIENTEDGE};
        case ReadOnlyEdit:
            return {L"EDIT", ES_AUTOHSCROLL | ES_READONLY | kTab, WS_EX_CLIENTEDGE};
        case ListBox: {
            // The keep list names one site at a time; the cache list selects many rows.
            const DWORD multiple = place.control == Ctl::lstKeepCookies ? 0 : LBS_MULTIPLESEL;
            return {L"LISTBOX", multiple | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | kTab,
                    WS_EX_CLIENTEDGE};
        }
        case ListView: {
            // The cookie, cache and history lists may hold a great many rows: they ask for their
            // texts as they paint.
            const DWORD ownerData = place.control == Ctl::lstcookies ||
                                            place.control == Ctl::List1 ||
                                            place.control == Ctl::URLs
                                        ? LVS_OWNERDATA
                                        : 0;
            // The browsers list shows one profile a row, each with a tick, without a header;
            // the applications list one entry a row, each with a tick.
            const DWORD view = place.control == Ctl::lstBrowsers
                                   ? LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL
                               : place.control == Ctl::lstApps ? LVS_REPORT | LVS_SINGLESEL
                                                               : LVS_REPORT;
            return {WC_LISTVIEWW, view | LVS_SHOWSELALWAYS | ownerData | kTab, WS_EX_CLIENTEDGE};
        }
        case Tabs:
            return {WC_TABCONTROLW, WS_CLIPSIBLINGS | kTab};
        case StatusBar:
            return {STATUSCLASSNAMEW, 0};
    }
    return {L"STATIC", 0};
}

bool showsPageBackground(ControlKind kind) {
    return kind == Label || kind == Check || kind == Option || kind == Frame || kind == Button ||
           kind == Rule;
}

}  // namespace purgeon::win32
