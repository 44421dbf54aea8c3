// The main window: creates its controls from one layout table, forwards events, mirrors state.
#include "app/win32/main_window_view.h"

#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <cwchar>
#include <stdexcept>
#include <string_view>
#include <utility>

#include "app/win32/artwork.h"

namespace purgeon::win32 {

namespace {

constexpr wchar_t kClassName[] = L"frmmain";
constexpr wchar_t kPageClassName[] = L"PurgeonTabPage";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;
constexpr UINT_PTR kClockTimer = 1;
constexpr UINT kMsgRestyled = WM_APP + 2;
// From this many selected rows on, the cookie list repaints once after a click or key.
constexpr LRESULT kQuietSelection = 256;

constexpr int kClientWidth = 8160;
constexpr int kClientHeight = 7215;
constexpr int kClockPanelWidth = 1440;
constexpr int kHistoryColumnWidth = 1440;
// Until the window is first activated, when the two columns share the list's width.
constexpr int kCookieColumnWidth = 3360;
// The URL label never grows past the About page's rule.
constexpr int kUrlLabelRight = 7800;
// Room a push button needs either side of its text.
constexpr int kButtonTextMargin = 120;

enum class Kind {
    Label,
    Picture,
    Rule,
    Button,
    Check,
    Option,
    Frame,
    Edit,
    ReadOnlyEdit,
    ListBox,
    ListView,
    Tabs,
    StatusBar,
};

// One control. A tab's controls are placed relative to the tab control; they are children of the
// tab's page, a window over the tab control's body. The others are children of the window.
struct ControlPlace {
    Ctl control;
    int tab;  // -1: not on a tab page
    Kind kind;
    const wchar_t* text;
    TwipsRect rect;
};

constexpr int kNoTab = -1;

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
// General: the miscellaneous options inside the main frame.
constexpr Offset kFrame5{kPage.x + 3360, kPage.y + 1080};
// Secure Wipe: the inner frames.
constexpr Offset kFolderFrame{kPage.x + 240, kPage.y + 300};
constexpr Offset kFileFrame{kPage.x + 240, kPage.y + 1200};
constexpr Offset kLevelFrame{kPage.x + 240, kPage.y + 2520};

// In creation order, which is also the keyboard order.
constexpr ControlPlace kControls[] = {
    {Ctl::Picture1, kNoTab, Kind::Picture, L"", {0, 0, 8175, 1515}},
    {Ctl::SSTab1, kNoTab, Kind::Tabs, L"", {120, 1560, 7935, 4815}},

    // General
    {Ctl::Frame1, kTabGeneral, Kind::Frame, L"General Operation", kPageFrame},
    {Ctl::chkautostart, kTabGeneral, Kind::Check, L"Start up with windows",
     at(kPage, 240, 720, 3000, 255)},
    {Ctl::chkdelOnStart, kTabGeneral, Kind::Check, L"Purgeon on startup",
     at(kPage, 240, 1080, 3000, 255)},
    {Ctl::chkDelOnShutDown, kTabGeneral, Kind::Check, L"Purgeon on shutdown",
     at(kPage, 240, 1440, 3000, 255)},
    {Ctl::Chkautoclearcookies, kTabGeneral, Kind::Check, L"Delete Cookies Automatically",
     at(kPage, 240, 1800, 3000, 255)},
    {Ctl::ChkAutoClearCache, kTabGeneral, Kind::Check, L"Clear Cache Automatically",
     at(kPage, 240, 2160, 3000, 255)},
    {Ctl::ChkAutoClearHistory, kTabGeneral, Kind::Check, L"Clear visited URL History Automatically",
     at(kPage, 240, 2520, 4815, 255)},
    {Ctl::Frame5, kTabGeneral, Kind::Frame, L"Miscellaneous Options",
     at(kPage, 3360, 1080, 3735, 1215)},
    {Ctl::chkEmptyRecycleBin, kTabGeneral, Kind::Check, L"Empty Recycle Bin",
     at(kFrame5, 360, 480, 3135, 255)},
    {Ctl::chkdeltempfiles, kTabGeneral, Kind::Check, L"Clear Temporary files",
     at(kFrame5, 360, 840, 3135, 255)},

    // Cookies
    {Ctl::Frame2, kTabCookies, Kind::Frame, L"Cookie Information", kPageFrame},
    {Ctl::Label1, kTabCookies, Kind::Label, L"Cookie Directory:", at(kPage, 240, 420, 1740, 255)},
    {Ctl::txtCookieDir, kTabCookies, Kind::ReadOnlyEdit, L"", at(kPage, 2040, 360, 5175, 315)},
    {Ctl::Label2, kTabCookies, Kind::Label, L"Cookies:", at(kPage, 240, 780, 1455, 255)},
    {Ctl::lstcookies, kTabCookies, Kind::ListView, L"", at(kPage, 240, 1035, 6975, 2175)},
    {Ctl::cmdselectallcookies, kTabCookies, Kind::Button, L"Select All",
     at(kPage, 240, 3330, 1575, 375)},
    {Ctl::cmdselectnocookies, kTabCookies, Kind::Button, L"Select None",
     at(kPage, 1935, 3330, 1575, 375)},
    {Ctl::cmdinvertcookiesselection, kTabCookies, Kind::Button, L"Invert Selection",
     at(kPage, 3630, 3330, 1575, 375)},
    {Ctl::cmddelcookies, kTabCookies, Kind::Button, L"&Delete Cookies",
     at(kPage, 5520, 3330, 1695, 375)},

    // Cache
    {Ctl::Frame3, kTabCache, Kind::Frame, L"Cache Contents", kPageFrame},
    {Ctl::List1, kTabCache, Kind::ListBox, L"", at(kPage, 240, 360, 6975, 2490)},
    {Ctl::cmdDelSelFromCache, kTabCache, Kind::Button, L"Delete Selected",
     at(kPage, 240, 2970, 1575, 375)},
    {Ctl::cmdinvertcachesel, kTabCache, Kind::Button, L"Invert Selection",
     at(kPage, 1935, 2970, 1575, 375)},
    {Ctl::cmdDelAllFromCache, kTabCache, Kind::Button, L"Clear Cache",
     at(kPage, 5640, 2970, 1575, 375)},
    {Ctl::chkDelCachedPasswords, kTabCache, Kind::Check, L"Delete Cached passwords",
     at(kPage, 240, 3465, 3495, 255)},

    // Browser History
    {Ctl::Frame4, kTabHistory, Kind::Frame, L"Visited Sites", kPageFrame},
    {Ctl::URLs, kTabHistory, Kind::ListView, L"", at(kPage, 240, 360, 6975, 2850)},
    {Ctl::cmdClearHistory, kTabHistory, Kind::Button, L"Clear History",
     at(kPage, 5640, 3330, 1575, 375)},

    // Secure Wipe
    {Ctl::Frame6, kTabSecureWipe, Kind::Frame, L"Secure Erasing", kPageFrame},
    {Ctl::Framefolder, kTabSecureWipe, Kind::Frame, L"Wipe Folder",
     at(kFolderFrame, 0, 0, 6975, 795)},
    {Ctl::Label3, kTabSecureWipe, Kind::Label, L"Folder", at(kFolderFrame, 240, 360, 735, 255)},
    {Ctl::txtFolderToWipe, kTabSecureWipe, Kind::Edit, L"", at(kFolderFrame, 1020, 315, 4335, 315)},
    {Ctl::cmdBrowseForFolder, kTabSecureWipe, Kind::Button, L"Browse...",
     at(kFolderFrame, 5475, 285, 1260, 375)},
    {Ctl::Framefile, kTabSecureWipe, Kind::Frame, L"Wipe File", at(kFileFrame, 0, 0, 6975, 795)},
    {Ctl::Label4, kTabSecureWipe, Kind::Label, L"File", at(kFileFrame, 240, 360, 735, 255)},
    {Ctl::txtFileToWipe, kTabSecureWipe, Kind::Edit, L"", at(kFileFrame, 1020, 315, 4335, 315)},
    {Ctl::cmdBrowseForFile, kTabSecureWipe, Kind::Button, L"Browse...",
     at(kFileFrame, 5475, 285, 1260, 375)},
    {Ctl::chkSecureForAll, kTabSecureWipe, Kind::Check, L"Secure Wipe all other areas",
     at(kPage, 240, 2115, 3495, 255)},
    {Ctl::Frame9, kTabSecureWipe, Kind::Frame, L"Shredding Level",
     at(kLevelFrame, 0, 0, 3975, 1095)},
    {Ctl::optQuick, kTabSecureWipe, Kind::Option, L"Quick( 3 passes)",
     at(kLevelFrame, 240, 330, 3495, 255)},
    {Ctl::optDOD, kTabSecureWipe, Kind::Option, L"US DOD (7passes)",
     at(kLevelFrame, 240, 690, 3495, 255)},
    {Ctl::cmdWipe, kTabSecureWipe, Kind::Button, L"&Wipe", at(kPage, 5520, 3240, 1455, 375)},

    // About
    {Ctl::Picture2, kTabAbout, Kind::Picture, L"", {120, 360, 1455, 4335}},
    {Ctl::lblappname, kTabAbout, Kind::Label, L"", {1680, 480, 5295, 255}},
    {Ctl::lblproginfo, kTabAbout, Kind::Label, L"", {1680, 840, 6015, 975}},
    {Ctl::cmdcheckForUpdates,
     kTabAbout,
     Kind::Button,
     L"&Check for updates...",
     {5880, 2280, 1695, 375}},
    {Ctl::cmdViewLog, kTabAbout, Kind::Button, L"View &log...", {5880, 2760, 1695, 375}},
    {Ctl::lblurl, kTabAbout, Kind::Label, L"", {1680, 3120, 2175, 255}},
    {Ctl::Line1, kTabAbout, Kind::Rule, L"", {1560, 3600, 6240, 30}},

    {Ctl::cmdHelp, kNoTab, Kind::Button, L"&Help", {5280, 6480, 1335, 375}},
    {Ctl::cmdok, kNoTab, Kind::Button, L"&Ok", {6720, 6480, 1335, 375}},
    {Ctl::sbar, kNoTab, Kind::StatusBar, L"", {}},
};

constexpr const wchar_t* kTabCaptions[kTabCount] = {
    L"General", L"Cookies", L"Cache", L"Browser History", L"Secure Wipe", L"&About",
};

constexpr Ctl kCheckBoxes[] = {
    Ctl::chkautostart,        Ctl::chkdelOnStart,     Ctl::chkDelOnShutDown,
    Ctl::Chkautoclearcookies, Ctl::ChkAutoClearCache, Ctl::ChkAutoClearHistory,
    Ctl::chkEmptyRecycleBin,  Ctl::chkdeltempfiles,   Ctl::chkDelCachedPasswords,
    Ctl::chkSecureForAll,
};

bool isCheckBox(Ctl control) {
    return std::find(std::begin(kCheckBoxes), std::end(kCheckBoxes), control) !=
           std::end(kCheckBoxes);
}

struct WindowClass {
    const wchar_t* name;
    DWORD style;
    DWORD exStyle;
};

WindowClass windowClassOf(const ControlPlace& place) {
    constexpr DWORD kTab = WS_TABSTOP | WS_GROUP;
    switch (place.kind) {
        case Kind::Label: {
            DWORD style = SS_LEFT;
            // Texts the program supplies are shown as they are, ampersands included.
            if (place.text[0] == L'\0') style |= SS_NOPREFIX;
            if (place.control == Ctl::lblurl) style |= SS_NOTIFY;
            return {L"STATIC", style, 0};
        }
        case Kind::Picture:
            return {L"STATIC", SS_OWNERDRAW, 0};
        case Kind::Rule:
            return {L"STATIC", SS_ETCHEDHORZ, 0};
        case Kind::Button:
            return {L"BUTTON", BS_PUSHBUTTON | kTab, 0};
        case Kind::Check:
            return {L"BUTTON", BS_AUTOCHECKBOX | kTab, 0};
        case Kind::Option:
            // The first option button opens the group; arrow keys move within it.
            return {L"BUTTON",
                    BS_AUTORADIOBUTTON | (place.control == Ctl::optQuick ? kTab : DWORD{0}), 0};
        case Kind::Frame:
            return {L"BUTTON", BS_GROUPBOX, 0};
        case Kind::Edit:
            return {L"EDIT", ES_AUTOHSCROLL | kTab, WS_EX_CLIENTEDGE};
        case Kind::ReadOnlyEdit:
            return {L"EDIT", ES_AUTOHSCROLL | ES_READONLY | kTab, WS_EX_CLIENTEDGE};
        case Kind::ListBox:
            return {L"LISTBOX",
                    LBS_MULTIPLESEL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | kTab,
                    WS_EX_CLIENTEDGE};
        case Kind::ListView: {
            // The cookie list may hold a great many rows: it asks for their texts as it paints.
            const DWORD ownerData = place.control == Ctl::lstcookies ? LVS_OWNERDATA : 0;
            return {WC_LISTVIEWW, LVS_REPORT | LVS_SHOWSELALWAYS | ownerData | kTab,
                    WS_EX_CLIENTEDGE};
        }
        case Kind::Tabs:
            return {WC_TABCONTROLW, WS_CLIPSIBLINGS | kTab, 0};
        case Kind::StatusBar:
            return {STATUSCLASSNAMEW, 0, 0};
    }
    return {L"STATIC", 0, 0};
}

// A window's device context for the lifetime of the guard.
class WindowDc {
public:
    explicit WindowDc(HWND window) : m_window(window), m_dc(::GetDC(window)) {}
    ~WindowDc() {
        if (m_dc != nullptr) ::ReleaseDC(m_window, m_dc);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return m_dc; }

private:
    HWND m_window;
    HDC m_dc;
};

// A memory device context for the lifetime of the guard.
class MemoryDc {
public:
    explicit MemoryDc(HDC compatible) : m_dc(::CreateCompatibleDC(compatible)) {}
    ~MemoryDc() {
        if (m_dc != nullptr) ::DeleteDC(m_dc);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC get() const { return m_dc; }

private:
    HDC m_dc;
};

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

const ControlPlace* placeOfWindow(HWND window) {
    return findPlace(controlFromId(::GetDlgCtrlID(window)));
}

// Controls that paint their own background with the colour their parent hands them.
bool showsPageBackground(Kind kind) {
    return kind == Kind::Label || kind == Kind::Check || kind == Kind::Option ||
           kind == Kind::Frame || kind == Kind::Button || kind == Kind::Rule;
}

// A control given a window procedure of its own keeps the original one in its user data. (The
// common controls' subclassing looks its data up on every message, which makes a list of many
// rows slow to fill on some systems.)
void replaceWindowProc(HWND control, WNDPROC proc) {
    const LONG_PTR original =
        ::SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
    ::SetWindowLongPtrW(control, GWLP_USERDATA, original);
}

LRESULT callOriginalProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto original = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(control, GWLP_USERDATA));
    if (original == nullptr) return ::DefWindowProcW(control, message, wParam, lParam);
    return ::CallWindowProcW(original, control, message, wParam, lParam);
}

// Some list views repaint every row whose selection changes, one by one: a click or key that
// clears a large selection is slow unless the list repaints once, afterwards.
LRESULT CALLBACK cookieListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_KEYDOWN:
        case WM_CHAR: {
            if (callOriginalProc(list, LVM_GETSELECTEDCOUNT, 0, 0) < kQuietSelection) break;
            callOriginalProc(list, WM_SETREDRAW, FALSE, 0);
            const LRESULT result = callOriginalProc(list, message, wParam, lParam);
            if (::IsWindow(list)) {
                callOriginalProc(list, WM_SETREDRAW, TRUE, 0);
                ::InvalidateRect(list, nullptr, TRUE);
            }
            return result;
        }
        default:
            break;
    }
    return callOriginalProc(list, message, wParam, lParam);
}

// Sets a flag for the lifetime of the guard, then puts back what it was.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : m_flag(flag), m_previous(flag) { m_flag = true; }
    ~FlagScope() { m_flag = m_previous; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& m_flag;
    bool m_previous;
};

HMENU idOf(Ctl control) {
    return reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId(control)));
}

}  // namespace

void Win32MainWindowView::registerClass(HINSTANCE instance, HICON icon, HICON smallIcon) {
    registerWindowClass(instance, kClassName, &viewWindowProc<Win32MainWindowView>, icon,
                        smallIcon);

    WNDCLASSEXW pageClass{};
    pageClass.cbSize = sizeof(pageClass);
    pageClass.lpfnWndProc = &Win32MainWindowView::pageProc;
    pageClass.hInstance = instance;
    pageClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    pageClass.lpszClassName = kPageClassName;
    if (!::RegisterClassExW(&pageClass)) throw std::runtime_error("tab page class");
}

bool Win32MainWindowView::isMainWindow(HWND window) {
    wchar_t name[16] = {};
    return window != nullptr && ::GetClassNameW(window, name, 16) > 0 &&
           std::wstring_view(name) == kClassName;
}

Win32MainWindowView::Win32MainWindowView(HINSTANCE instance, Program& program, FrmMain& behaviour)
    : m_program(program), m_behaviour(behaviour) {
    ::CreateWindowExW(kExStyle, kClassName, L"", kStyle, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0,
                      nullptr, nullptr, instance, this);
    if (!m_window) throw std::runtime_error("main window");
    m_dpi = ::GetDpiForWindow(m_window.get());
    createControls(instance);
    applyDpi(m_dpi);
    const TwipsScale scale(m_dpi);
    placeCentered(m_window.get(), scale.px(kClientWidth), scale.px(kClientHeight), m_dpi);
    layoutStatusBar();
    updateClock();
    ::SetTimer(m_window.get(), kClockTimer, 1000, nullptr);
}

Win32MainWindowView::~Win32MainWindowView() { m_window.reset(); }

void Win32MainWindowView::createControls(HINSTANCE instance) {
    for (const ControlPlace& place : kControls) {
        if (place.kind == Kind::Tabs) {
            // The pages come first: above the tab control, which leaves them out when it paints,
            // and before it when Tab moves the focus.
            for (HWND& page : m_pages) {
                page = ::CreateWindowExW(WS_EX_CONTROLPARENT, kPageClassName, L"", WS_CHILD, 0, 0,
                                         0, 0, m_window.get(), nullptr, instance, this);
                if (page == nullptr) throw std::runtime_error("tab page");
            }
        }
        const WindowClass windowClass = windowClassOf(place);
        const HWND parent = place.tab == kNoTab ? m_window.get() : m_pages[place.tab];
        const RECT r = placement(place.control);
        const HWND created = ::CreateWindowExW(windowClass.exStyle, windowClass.name, place.text,
                                               WS_CHILD | WS_VISIBLE | windowClass.style, r.left,
                                               r.top, r.right - r.left, r.bottom - r.top, parent,
                                               idOf(place.control), instance, nullptr);
        if (created == nullptr) throw std::runtime_error("main window control");
        m_controls[place.control] = created;
    }

    const HWND tabs = handleOf(Ctl::SSTab1);
    for (int i = 0; i < kTabCount; ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(kTabCaptions[i]);
        ::SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(i),
                       reinterpret_cast<LPARAM>(&item));
    }
    // Not every list box reports a toggle made with the space bar; keys are checked here too.
    replaceWindowProc(handleOf(Ctl::List1), &Win32MainWindowView::cacheListProc);
    replaceWindowProc(handleOf(Ctl::lstcookies), &cookieListProc);

    for (Ctl listView : {Ctl::lstcookies, Ctl::URLs}) {
        ::SendMessageW(handleOf(listView), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT,
                       LVS_EX_FULLROWSELECT);
    }
    addColumns(Ctl::lstcookies, {L"Cookie Name", L"Cookie Path"}, kCookieColumnWidth);
    addColumns(Ctl::URLs,
               {L"Title", L"URL", L"Last visited", L"Last Updated", L"Expires", L"Flags"},
               kHistoryColumnWidth);
}

void Win32MainWindowView::addColumns(Ctl listView, std::initializer_list<const wchar_t*> titles,
                                     int widthTwips) {
    const TwipsScale scale(m_dpi);
    int index = 0;
    for (const wchar_t* title : titles) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<wchar_t*>(title);
        column.cx = scale.px(widthTwips);
        column.iSubItem = index;
        ::SendMessageW(handleOf(listView), LVM_INSERTCOLUMNW, static_cast<WPARAM>(index),
                       reinterpret_cast<LPARAM>(&column));
        ++index;
    }
}

void Win32MainWindowView::applyDpi(UINT dpi) {
    const UINT previousDpi = m_dpi;
    m_dpi = dpi;
    // The controls take the new fonts before the old ones are released.
    UniqueGdiObject font = createMessageFont(dpi);
    UniqueGdiObject boldFont = createMessageFont(dpi, true);
    UniqueGdiObject appNameFont = createMessageFont(dpi, true, 1125, L"Arial");
    for (const ControlPlace& place : kControls) {
        const UniqueGdiObject& chosen = place.kind == Kind::Frame          ? boldFont
                                        : place.control == Ctl::lblappname ? appNameFont
                                                                           : font;
        ::SendMessageW(handleOf(place.control), WM_SETFONT,
                       reinterpret_cast<WPARAM>(fontOf(chosen)), FALSE);
    }
    // The tab control first: its row of tabs, sized by the font, decides where the pages begin.
    const TwipsScale scale(dpi);
    const HWND tabs = handleOf(Ctl::SSTab1);
    const RECT tabArea = placement(Ctl::SSTab1);
    moveControl(tabs, tabArea);
    RECT firstTab{};
    ::SendMessageW(tabs, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&firstTab));
    m_pageTop = std::max(0, static_cast<int>(firstTab.bottom));
    for (HWND page : m_pages) {
        moveControl(page,
                    RECT{tabArea.left, tabArea.top + m_pageTop, tabArea.right, tabArea.bottom});
    }
    for (const ControlPlace& place : kControls) {
        if (place.kind != Kind::StatusBar && place.kind != Kind::Tabs) {
            moveControl(handleOf(place.control), placement(place.control));
        }
    }
    m_font = std::move(font);
    m_boldFont = std::move(boldFont);
    m_appNameFont = std::move(appNameFont);

    if (previousDpi != dpi) {
        for (Ctl listView : {Ctl::lstcookies, Ctl::URLs}) {
            const HWND header =
                reinterpret_cast<HWND>(::SendMessageW(handleOf(listView), LVM_GETHEADER, 0, 0));
            const int columns = static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
            for (int i = 0; i < columns; ++i) {
                const int width = static_cast<int>(::SendMessageW(
                    handleOf(listView), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(i), 0));
                ::SendMessageW(
                    handleOf(listView), LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(i),
                    ::MulDiv(width, static_cast<int>(dpi), static_cast<int>(previousDpi)));
            }
        }
    }
    fitToText();
    layoutStatusBar();
    capturePageBackground();
    ::InvalidateRect(m_window.get(), nullptr, TRUE);
}

// The tab control's page, drawn once into a bitmap: labels, boxes and frames on a page paint
// their background from it, so they blend with the page whatever the visual style.
void Win32MainWindowView::capturePageBackground() {
    const HWND tabs = handleOf(Ctl::SSTab1);
    RECT area{};
    ::GetClientRect(tabs, &area);
    if (area.right <= 0 || area.bottom <= 0) return;
    WindowDc screen(tabs);
    UniqueGdiObject bitmap(::CreateCompatibleBitmap(screen.get(), area.right, area.bottom));
    if (!bitmap) return;
    {
        MemoryDc memory(screen.get());
        const HGDIOBJ previous = ::SelectObject(memory.get(), bitmap.get());
        ::FillRect(memory.get(), &area, ::GetSysColorBrush(COLOR_BTNFACE));
        ::SendMessageW(tabs, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.get()),
                       PRF_CLIENT | PRF_ERASEBKGND);
        ::SelectObject(memory.get(), previous);
    }
    UniqueGdiObject brush(::CreatePatternBrush(static_cast<HBITMAP>(bitmap.get())));
    if (!brush) return;
    m_pageBrush = std::move(brush);
    m_pageBitmap = std::move(bitmap);
    for (HWND page : m_pages) {
        ::RedrawWindow(page, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
}

// Aligns the page pattern with the tab control, whose top-left corner is at this device point.
void Win32MainWindowView::alignPagePattern(HDC dc, POINT tabOrigin) const {
    BITMAP page{};
    if (!::GetObjectW(m_pageBitmap.get(), sizeof(page), &page)) return;
    if (page.bmWidth <= 0 || page.bmHeight <= 0) return;
    const int x = ((tabOrigin.x % page.bmWidth) + page.bmWidth) % page.bmWidth;
    const int y = ((tabOrigin.y % page.bmHeight) + page.bmHeight) % page.bmHeight;
    ::SetBrushOrgEx(dc, x, y, nullptr);
}

void Win32MainWindowView::paintPageBackground(HWND page, HDC dc) const {
    RECT area{};
    ::GetClientRect(page, &area);
    if (!m_pageBrush) {
        ::FillRect(dc, &area, ::GetSysColorBrush(COLOR_BTNFACE));
        return;
    }
    // The page's own corner sits m_pageTop below the tab control's.
    POINT viewport{};
    ::GetViewportOrgEx(dc, &viewport);
    alignPagePattern(dc, POINT{viewport.x, viewport.y - m_pageTop});
    ::FillRect(dc, &area, static_cast<HBRUSH>(m_pageBrush.get()));
}

RECT Win32MainWindowView::placement(Ctl control) const {
    const ControlPlace& place = placeOf(control);
    RECT r = TwipsScale(m_dpi).rect(place.rect);
    if (place.tab != kNoTab) ::OffsetRect(&r, 0, -m_pageTop);
    return r;
}

void Win32MainWindowView::layoutStatusBar() {
    const HWND bar = handleOf(Ctl::sbar);
    ::SendMessageW(bar, WM_SIZE, 0, 0);
    RECT client{};
    ::GetClientRect(m_window.get(), &client);
    const int clockLeft = static_cast<int>(client.right) - TwipsScale(m_dpi).px(kClockPanelWidth);
    const int parts[2] = {std::max(0, clockLeft), -1};
    ::SendMessageW(bar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
}

// Two controls may outgrow their place when the system font is wide: the URL label, whose text
// the build sets, widens to the right up to the rule's end; the updates button widens to the left.
void Win32MainWindowView::fitToText() {
    const TwipsScale scale(m_dpi);
    for (Ctl fitted : {Ctl::lblurl, Ctl::cmdcheckForUpdates}) {
        const HWND window = handleOf(fitted);
        const ControlPlace* place = placeOfWindow(window);
        if (place == nullptr) continue;
        const std::wstring text = windowText(window);
        const int length = static_cast<int>(text.size());

        RECT extent{};
        {
            WindowDc dc(window);
            const HGDIOBJ previous = ::SelectObject(dc.get(), m_font.get());
            const UINT prefix = fitted == Ctl::lblurl ? DT_NOPREFIX : 0;
            ::DrawTextW(dc.get(), text.c_str(), length, &extent,
                        DT_CALCRECT | DT_SINGLELINE | prefix);
            ::SelectObject(dc.get(), previous);
        }
        RECT r = placement(fitted);
        if (fitted == Ctl::lblurl) {
            r.right = std::clamp(static_cast<int>(r.left + extent.right + scale.px(30)),
                                 static_cast<int>(r.right), scale.px(kUrlLabelRight));
        } else {
            const int needed = extent.right + 2 * scale.px(kButtonTextMargin);
            r.left = std::min(static_cast<int>(r.left), static_cast<int>(r.right) - needed);
        }
        moveControl(window, r);
    }
}

void Win32MainWindowView::updateClock() {
    wchar_t time[64] = {};
    if (::GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, TIME_NOSECONDS, nullptr, nullptr, time, 64) ==
        0) {
        return;
    }
    std::wstring text = std::wstring(L"\t") + time;  // a leading tab centres the text
    if (text == m_clockText) return;
    m_clockText = std::move(text);
    ::SendMessageW(handleOf(Ctl::sbar), SB_SETTEXTW, 1,
                   reinterpret_cast<LPARAM>(m_clockText.c_str()));
}

HWND Win32MainWindowView::handleOf(Ctl control) const {
    auto found = m_controls.find(control);
    return found == m_controls.end() ? nullptr : found->second;
}

int Win32MainWindowView::checkState(Ctl control) const {
    switch (::SendMessageW(handleOf(control), BM_GETCHECK, 0, 0)) {
        case BST_CHECKED:
            return 1;
        case BST_INDETERMINATE:
            return 2;
        default:
            return 0;
    }
}

void Win32MainWindowView::show() {
    if (!m_window) return;
    m_showing = true;
    ::ShowWindow(m_window.get(), SW_SHOW);
    ::SetForegroundWindow(m_window.get());
    m_showing = false;
}

void Win32MainWindowView::destroy() { m_window.reset(); }

void Win32MainWindowView::setCaption(const std::wstring& text) {
    ::SetWindowTextW(m_window.get(), text.c_str());
}

void Win32MainWindowView::setText(Ctl control, const std::wstring& text) {
    ::SetWindowTextW(handleOf(control), text.c_str());
    if (control == Ctl::lblurl || control == Ctl::cmdcheckForUpdates) fitToText();
}

void Win32MainWindowView::setValue(Ctl control, int value) {
    const HWND button = handleOf(control);
    if (button == nullptr) return;
    if (isCheckBox(control)) {
        // A grayed box needs the three-state type to show it; a click then unticks it.
        const LONG_PTR style = ::GetWindowLongPtrW(button, GWL_STYLE);
        const LONG_PTR type = value == 2 ? BS_AUTO3STATE : BS_AUTOCHECKBOX;
        if ((style & BS_TYPEMASK) != type) {
            ::SendMessageW(button, BM_SETSTYLE,
                           static_cast<WPARAM>((style & 0xFFFF & ~BS_TYPEMASK) | type), TRUE);
        }
    }
    const WPARAM state = value == 1 ? BST_CHECKED : value == 2 ? BST_INDETERMINATE : BST_UNCHECKED;
    ::SendMessageW(button, BM_SETCHECK, state, 0);
}

void Win32MainWindowView::selectTab(int index) {
    const HWND tabs = handleOf(Ctl::SSTab1);
    ::SendMessageW(tabs, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    // Some tab controls leave the previous tab marked as pressed when the keyboard changes the
    // tab, and then ignore clicks on the others; only the selected tab may carry the mark.
    for (int i = 0; i < kTabCount; ++i) {
        if (i == index) continue;
        TCITEMW item{};
        item.mask = TCIF_STATE;
        item.dwStateMask = TCIS_BUTTONPRESSED;
        item.dwState = 0;
        ::SendMessageW(tabs, TCM_SETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
    // The selected tab joins the page's border: the pattern is taken again for the new tab.
    capturePageBackground();
    for (int i = 0; i < kTabCount; ++i) {
        if (i != index) ::ShowWindow(m_pages[static_cast<std::size_t>(i)], SW_HIDE);
    }
    if (index >= 0 && index < kTabCount) {
        ::ShowWindow(m_pages[static_cast<std::size_t>(index)], SW_SHOWNA);
    }
    const HWND focused = ::GetFocus();
    if (focused != nullptr && ::IsChild(m_window.get(), focused) && !::IsWindowVisible(focused)) {
        ::SetFocus(tabs);
    }
}

void Win32MainWindowView::setStatusText(const std::wstring& text) {
    ::SendMessageW(handleOf(Ctl::sbar), SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void Win32MainWindowView::setBusy(bool busy) {
    m_busy = busy;
    if (busy) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    } else {
        restoreCursor();
    }
}

// Lets the window under the mouse choose its cursor again, as if the mouse had moved.
void Win32MainWindowView::restoreCursor() {
    POINT point{};
    if (!::GetCursorPos(&point)) return;
    const HWND under = ::WindowFromPoint(point);
    if (under == nullptr || ::GetWindowThreadProcessId(under, nullptr) != ::GetCurrentThreadId()) {
        return;
    }
    const LRESULT hit =
        ::SendMessageW(under, WM_NCHITTEST, 0,
                       MAKELPARAM(static_cast<SHORT>(point.x), static_cast<SHORT>(point.y)));
    ::SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
                   MAKELPARAM(static_cast<WORD>(hit), WM_MOUSEMOVE));
}

void Win32MainWindowView::repaint() {
    ::RedrawWindow(m_window.get(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void Win32MainWindowView::focus(Ctl control) { ::SetFocus(handleOf(control)); }

void Win32MainWindowView::splitCookieColumns() {
    const HWND list = handleOf(Ctl::lstcookies);
    RECT client{};
    ::GetClientRect(list, &client);
    const int half = (client.right - client.left) / 2;
    ::SendMessageW(list, LVM_SETCOLUMNWIDTH, 0, half);
    ::SendMessageW(list, LVM_SETCOLUMNWIDTH, 1, half);
}

void Win32MainWindowView::showCacheRows(const CacheList& list) {
    const HWND box = handleOf(Ctl::List1);
    const auto& rows = list.rows();
    std::size_t characters = 0;
    for (const ListRow& row : rows) characters += row.text.size() + 1;

    ::SendMessageW(box, WM_SETREDRAW, FALSE, 0);
    ::SendMessageW(box, LB_RESETCONTENT, 0, 0);
    ::SendMessageW(box, LB_INITSTORAGE, static_cast<WPARAM>(rows.size()),
                   static_cast<LPARAM>(characters * sizeof(wchar_t)));
    for (const ListRow& row : rows) {
        const LRESULT index =
            ::SendMessageW(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.text.c_str()));
        if (index >= 0 && row.selected) ::SendMessageW(box, LB_SETSEL, TRUE, index);
    }
    ::SendMessageW(box, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(box, nullptr, TRUE);
}

void Win32MainWindowView::showCacheSelection(const CacheList& list) {
    const HWND box = handleOf(Ctl::List1);
    const auto& rows = list.rows();
    const LRESULT top = ::SendMessageW(box, LB_GETTOPINDEX, 0, 0);
    const LRESULT caret = ::SendMessageW(box, LB_GETCARETINDEX, 0, 0);
    const int count = static_cast<int>(::SendMessageW(box, LB_GETCOUNT, 0, 0));
    const int shown = std::min(count, static_cast<int>(rows.size()));

    bool changed = false;
    for (int i = 0; i < shown; ++i) {
        const bool selected = ::SendMessageW(box, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0;
        if (selected == rows[static_cast<std::size_t>(i)].selected) continue;
        if (!changed) ::SendMessageW(box, WM_SETREDRAW, FALSE, 0);
        changed = true;
        ::SendMessageW(box, LB_SETSEL, rows[static_cast<std::size_t>(i)].selected ? TRUE : FALSE,
                       i);
    }
    if (!changed) return;
    // Selecting may scroll or move the caret; both are put back where the user left them.
    if (caret >= 0) ::SendMessageW(box, LB_SETCARETINDEX, static_cast<WPARAM>(caret), FALSE);
    ::SendMessageW(box, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
    ::SendMessageW(box, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(box, nullptr, TRUE);
}

void Win32MainWindowView::showCookieRows(const CookieList& list) {
    const HWND view = handleOf(Ctl::lstcookies);
    m_cookieRows = list.rows();
    {
        const FlagScope mirroring(m_mirroringCookies);
        ::SendMessageW(view, WM_SETREDRAW, FALSE, 0);
        ::SendMessageW(view, LVM_SETITEMCOUNT, static_cast<WPARAM>(m_cookieRows.size()), 0);
    }
    mirrorCookieSelection(list);
    ::SendMessageW(view, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(view, nullptr, TRUE);
}

void Win32MainWindowView::showCookieSelection(const CookieList& list) {
    const HWND view = handleOf(Ctl::lstcookies);
    ::SendMessageW(view, WM_SETREDRAW, FALSE, 0);
    mirrorCookieSelection(list);
    ::SendMessageW(view, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(view, nullptr, TRUE);
}

void Win32MainWindowView::mirrorCookieSelection(const CookieList& list) {
    const HWND view = handleOf(Ctl::lstcookies);
    const FlagScope mirroring(m_mirroringCookies);
    const auto& rows = list.rows();
    const std::size_t shown = std::min(rows.size(), m_cookieRows.size());
    const std::size_t selected = static_cast<std::size_t>(
        std::count_if(rows.begin(), rows.begin() + static_cast<std::ptrdiff_t>(shown),
                      [](const CookieRow& row) { return row.selected; }));

    // Every row at once, then the selected ones one by one when only some are.
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED;
    state.state = selected == shown && shown > 0 ? LVIS_SELECTED : 0;
    ::SendMessageW(view, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                   reinterpret_cast<LPARAM>(&state));
    if (selected == shown || selected == 0) return;
    state.state = LVIS_SELECTED;
    for (std::size_t row = 0; row < shown; ++row) {
        if (!rows[row].selected) continue;
        ::SendMessageW(view, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
    }
}

void Win32MainWindowView::showHistoryRows(const std::vector<HistoryRow>& rows) {
    const HWND view = handleOf(Ctl::URLs);
    m_historyRows = rows;
    const std::vector<std::size_t> order =
        historyOrder(m_historyRows, m_historySortKey, m_collation);

    ::SendMessageW(view, WM_SETREDRAW, FALSE, 0);
    ::SendMessageW(view, LVM_DELETEALLITEMS, 0, 0);
    ::SendMessageW(view, LVM_SETITEMCOUNT, static_cast<WPARAM>(order.size()), 0);
    int position = 0;
    for (std::size_t index : order) {
        HistoryRow& row = m_historyRows[index];
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = position;
        item.pszText = row[0].data();
        item.lParam = static_cast<LPARAM>(index);
        const int inserted = static_cast<int>(
            ::SendMessageW(view, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        if (inserted < 0) continue;
        for (std::size_t column = 1; column < kHistoryColumns; ++column) {
            LVITEMW cell{};
            cell.iSubItem = static_cast<int>(column);
            cell.pszText = row[column].data();
            ::SendMessageW(view, LVM_SETITEMTEXTW, static_cast<WPARAM>(inserted),
                           reinterpret_cast<LPARAM>(&cell));
        }
        ++position;
    }
    ::SendMessageW(view, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(view, nullptr, TRUE);
}

void Win32MainWindowView::setHistorySortKey(int key) {
    m_historySortKey = std::clamp(key, 0, static_cast<int>(kHistoryColumns) - 1);
    ::SendMessageW(handleOf(Ctl::URLs), LVM_SORTITEMS, reinterpret_cast<WPARAM>(this),
                   reinterpret_cast<LPARAM>(&Win32MainWindowView::compareHistoryRows));
}

int CALLBACK Win32MainWindowView::compareHistoryRows(LPARAM first, LPARAM second, LPARAM view) {
    const auto* self = reinterpret_cast<const Win32MainWindowView*>(view);
    const auto a = static_cast<std::size_t>(first);
    const auto b = static_cast<std::size_t>(second);
    const std::size_t count = self->m_historyRows.size();
    if (a >= count || b >= count || a == b) return 0;
    return historyRowBefore(self->m_historyRows, self->m_historySortKey, a, b, self->m_collation)
               ? -1
               : 1;
}

void Win32MainWindowView::windowCreated(HWND window) { m_window.reset(window); }

void Win32MainWindowView::windowGone() {
    m_window.release();
    m_controls.clear();
    m_pages.fill(nullptr);
    m_lastFocus = nullptr;
}

LRESULT CALLBACK Win32MainWindowView::pageProc(HWND page, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
    if (message == WM_NCCREATE) {
        ::SetWindowLongPtrW(
            page, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    }
    const auto* view =
        reinterpret_cast<const Win32MainWindowView*>(::GetWindowLongPtrW(page, GWLP_USERDATA));
    switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_DRAWITEM:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
            // The page's controls are the window's: their messages go to it.
            return ::SendMessageW(::GetParent(page), message, wParam, lParam);
        case WM_ERASEBKGND:
            if (view == nullptr) break;
            view->paintPageBackground(page, reinterpret_cast<HDC>(wParam));
            return TRUE;
        case WM_PRINTCLIENT:
            if (view == nullptr) break;
            view->paintPageBackground(page, reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_NCDESTROY:
            ::SetWindowLongPtrW(page, GWLP_USERDATA, 0);
            break;
        default:
            break;
    }
    return ::DefWindowProcW(page, message, wParam, lParam);
}

LRESULT CALLBACK Win32MainWindowView::cacheListProc(HWND list, UINT message, WPARAM wParam,
                                                    LPARAM lParam) {
    const LRESULT result = callOriginalProc(list, message, wParam, lParam);
    if (message == WM_KEYDOWN || message == WM_CHAR) {
        // The list's window is the main window's descendant, and the view is in its user data.
        auto* view = reinterpret_cast<Win32MainWindowView*>(
            ::GetWindowLongPtrW(::GetAncestor(list, GA_ROOT), GWLP_USERDATA));
        if (view != nullptr) guarded([&] { view->onCacheListClick(); });
    }
    return result;
}

LRESULT Win32MainWindowView::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND window = m_window.get();
    switch (message) {
        case WM_ACTIVATE:
            onActivate(wParam, reinterpret_cast<HWND>(lParam));
            if (LOWORD(wParam) != WA_INACTIVE && HIWORD(wParam) == 0) return 0;
            break;
        case kMsgActivated:
            guarded([&] { m_behaviour.activated(static_cast<ActivationSource>(wParam)); });
            return 0;
        case WM_CLOSE:
            guarded([&] { m_program.unloadMainWindow(); });
            return 0;  // the window is gone unless the unload failed
        case WM_DESTROY:
            ::KillTimer(window, kClockTimer);
            break;
        case WM_COMMAND:
            if (lParam != 0) {
                const Ctl source = controlFromId(LOWORD(wParam));
                const int code = HIWORD(wParam);
                guarded([&] { onCommand(source, code); });
                return 0;
            }
            break;
        case WM_NOTIFY: {
            LRESULT result = 0;
            if (onNotify(*reinterpret_cast<NMHDR*>(lParam), result)) return result;
            break;
        }
        case WM_SETCURSOR:
            if (onSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam))) return TRUE;
            break;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return onControlColor(message, reinterpret_cast<HDC>(wParam),
                                  reinterpret_cast<HWND>(lParam));
        case WM_SYSCOLORCHANGE:
            for (Ctl common : {Ctl::SSTab1, Ctl::sbar, Ctl::lstcookies, Ctl::URLs}) {
                ::SendMessageW(handleOf(common), message, wParam, lParam);
            }
            ::PostMessageW(window, kMsgRestyled, 0, 0);
            break;
        case WM_THEMECHANGED:
            // The tab control takes the new look first; the pages follow from the message loop.
            ::PostMessageW(window, kMsgRestyled, 0, 0);
            break;
        case kMsgRestyled:
            capturePageBackground();
            ::InvalidateRect(window, nullptr, TRUE);
            return 0;
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item->CtlID == static_cast<UINT>(controlId(Ctl::Picture1))) {
                drawBanner(item->hDC, item->rcItem);
                return TRUE;
            }
            if (item->CtlID == static_cast<UINT>(controlId(Ctl::Picture2))) {
                drawAboutArt(item->hDC, item->rcItem);
                return TRUE;
            }
            break;
        }
        case WM_TIMER:
            if (wParam == kClockTimer) {
                guarded([&] { updateClock(); });
                return 0;
            }
            break;
        case WM_DPICHANGED: {
            guarded([&] {
                applyDpi(HIWORD(wParam));
                placeForDpi(window, lParam, kClientWidth, kClientHeight, m_dpi);
                layoutStatusBar();
            });
            return 0;
        }
        default:
            break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

// Where an activation came from, told by the window that lost the activation.
ActivationSource Win32MainWindowView::activationSource(HWND previous) const {
    DWORD process = 0;
    if (previous == nullptr || !::GetWindowThreadProcessId(previous, &process) ||
        process != ::GetCurrentProcessId())
        return ActivationSource::otherProgram;
    wchar_t name[32] = {};
    ::GetClassNameW(previous, name, 32);
    // A message box or a common dialog, a window the main window owns, or the tray's hidden
    // window (it only carries the icon's menu): none of them is a form the user came from.
    if (std::wcscmp(name, L"#32770") == 0 || ::GetWindow(previous, GW_OWNER) == m_window.get() ||
        !::IsWindowVisible(previous))
        return ActivationSource::ownBox;
    return ActivationSource::ownWindow;
}

void Win32MainWindowView::onActivate(WPARAM wParam, HWND previous) {
    const HWND window = m_window.get();
    if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focused = ::GetFocus();
        if (focused != nullptr && ::IsChild(window, focused)) m_lastFocus = focused;
        return;
    }
    // Showing the window is an activation of its own, which the program runs itself.
    if (!m_showing) {
        ::PostMessageW(window, kMsgActivated, static_cast<WPARAM>(activationSource(previous)), 0);
    }
    if (HIWORD(wParam) != 0) return;  // minimized
    // Focus goes back to the control that had it, as in a dialog.
    const bool usable = m_lastFocus != nullptr && ::IsWindow(m_lastFocus) &&
                        ::IsChild(window, m_lastFocus) && ::IsWindowVisible(m_lastFocus);
    ::SetFocus(usable ? m_lastFocus : handleOf(Ctl::SSTab1));
}

void Win32MainWindowView::onCommand(Ctl source, int code) {
    if (isCheckBox(source)) {
        if (code == BN_CLICKED) m_behaviour.setValue(source, checkState(source));
        return;
    }
    switch (source) {
        case Ctl::optQuick:
        case Ctl::optDOD:
            if (code == BN_CLICKED) {
                const int quick = checkState(Ctl::optQuick);
                const int dod = checkState(Ctl::optDOD);
                m_behaviour.setValue(Ctl::optQuick, quick);
                m_behaviour.setValue(Ctl::optDOD, dod);
            }
            break;
        case Ctl::cmdok:
            if (code == BN_CLICKED) m_behaviour.cmdok_Click();
            break;
        case Ctl::cmdHelp:
            if (code == BN_CLICKED) m_behaviour.cmdHelp_Click();
            break;
        case Ctl::cmdDelSelFromCache:
            if (code == BN_CLICKED) m_behaviour.cmdDelSelFromCache_Click();
            break;
        case Ctl::cmdDelAllFromCache:
            if (code == BN_CLICKED) m_behaviour.cmdDelAllFromCache_Click();
            break;
        case Ctl::cmdinvertcachesel:
            if (code == BN_CLICKED) m_behaviour.cmdinvertcachesel_Click();
            break;
        case Ctl::List1:
            if (code == LBN_SELCHANGE) onCacheListClick();
            break;
        case Ctl::lblurl:
            if (code == STN_CLICKED) m_behaviour.lblurl_Click();
            break;
        case Ctl::txtFileToWipe:
        case Ctl::txtFolderToWipe:
            if (code == EN_CHANGE) m_behaviour.textChanged(source, windowText(handleOf(source)));
            break;
        default:
            if (code == BN_CLICKED) onButtonClick(source);
            break;
    }
}

void Win32MainWindowView::onButtonClick(Ctl source) {
    switch (source) {
        case Ctl::cmdselectallcookies:
            m_behaviour.cmdselectallcookies_Click();
            break;
        case Ctl::cmdselectnocookies:
            m_behaviour.cmdselectnocookies_Click();
            break;
        case Ctl::cmdinvertcookiesselection:
            m_behaviour.cmdinvertcookiesselection_Click();
            break;
        case Ctl::cmddelcookies:
            m_behaviour.cmddelcookies_Click();
            break;
        case Ctl::cmdClearHistory:
            m_behaviour.cmdClearHistory_Click();
            break;
        case Ctl::cmdBrowseForFile:
            m_behaviour.cmdBrowseForFile_Click();
            break;
        case Ctl::cmdBrowseForFolder:
            m_behaviour.cmdBrowseForFolder_Click();
            break;
        case Ctl::cmdWipe:
            m_behaviour.cmdWipe_Click();
            break;
        case Ctl::cmdcheckForUpdates:
            m_behaviour.cmdcheckForUpdates_Click();
            break;
        case Ctl::cmdViewLog:
            m_behaviour.cmdViewLog_Click();
            break;
        default:
            break;
    }
}

bool Win32MainWindowView::onNotify(NMHDR& header, LRESULT& result) {
    result = 0;
    if (header.hwndFrom == nullptr) return false;
    if (header.hwndFrom == handleOf(Ctl::SSTab1)) {
        if (header.code != TCN_SELCHANGE) return false;
        const int index = static_cast<int>(::SendMessageW(header.hwndFrom, TCM_GETCURSEL, 0, 0));
        guarded([&] { m_behaviour.selectTab(index); });
        return true;
    }
    if (header.hwndFrom == handleOf(Ctl::URLs)) {
        if (header.code != LVN_COLUMNCLICK) return false;
        const int column = reinterpret_cast<const NMLISTVIEW&>(header).iSubItem + 1;
        guarded([&] { m_behaviour.URLs_ColumnClick(column); });
        return true;
    }
    if (header.hwndFrom != handleOf(Ctl::lstcookies)) return false;
    switch (header.code) {
        case LVN_GETDISPINFOW:
            onCookieText(reinterpret_cast<NMLVDISPINFOW&>(header));
            return true;
        case LVN_ODFINDITEMW:
            result = findCookie(reinterpret_cast<const NMLVFINDITEMW&>(header));
            return true;
        case LVN_ITEMCHANGED: {
            const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
            if (m_mirroringCookies || (change.uChanged & LVIF_STATE) == 0) return true;
            // A change to every row does not say which state bits it set; each row is read back.
            if (change.iItem >= 0 && ((change.uOldState ^ change.uNewState) & LVIS_SELECTED) == 0) {
                return true;
            }
            guarded([&] { onCookieSelection(change.iItem, change.iItem); });
            return true;
        }
        case LVN_ODSTATECHANGED: {
            const auto& change = reinterpret_cast<const NMLVODSTATECHANGE&>(header);
            if (m_mirroringCookies ||
                ((change.uOldState ^ change.uNewState) & LVIS_SELECTED) == 0) {
                return true;
            }
            guarded([&] { onCookieSelection(change.iFrom, change.iTo); });
            return true;
        }
        default:
            return false;
    }
}

void Win32MainWindowView::onCookieText(NMLVDISPINFOW& info) const {
    LVITEMW& item = info.item;
    if ((item.mask & LVIF_TEXT) == 0 || item.pszText == nullptr || item.cchTextMax <= 0) return;
    if (item.iItem < 0 || static_cast<std::size_t>(item.iItem) >= m_cookieRows.size()) {
        item.pszText[0] = L'\0';
        return;
    }
    const CookieRow& row = m_cookieRows[static_cast<std::size_t>(item.iItem)];
    const std::wstring_view text = item.iSubItem == 0   ? std::wstring_view(row.name)
                                   : item.iSubItem == 1 ? std::wstring_view(row.path)
                                                        : std::wstring_view();
    const std::size_t copied =
        text.copy(item.pszText, static_cast<std::size_t>(item.cchTextMax) - 1);
    item.pszText[copied] = L'\0';
}

// Typing in the list moves to the next row whose name starts with the typed text.
int Win32MainWindowView::findCookie(const NMLVFINDITEMW& find) const {
    const LVFINDINFOW& info = find.lvfi;
    if ((info.flags & (LVFI_STRING | LVFI_PARTIAL)) == 0 || info.psz == nullptr) return -1;
    return findCookieRow(m_cookieRows, info.psz, (info.flags & LVFI_PARTIAL) != 0, find.iStart,
                         (info.flags & LVFI_WRAP) != 0, m_collation);
}

void Win32MainWindowView::onCookieSelection(int first, int last) {
    const HWND list = handleOf(Ctl::lstcookies);
    const int shown = static_cast<int>(m_cookieRows.size());
    if (first < 0) {
        first = 0;
        last = shown - 1;
    }
    last = std::min(last, shown - 1);
    if (first > last) return;

    // Selecting or deselecting every row, which a plain click does first, needs no row read back.
    const int selectedCount = static_cast<int>(::SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0));
    const bool all = selectedCount == shown;
    const bool none = selectedCount == 0;
    for (int row = first; row <= last; ++row) {
        const auto& rows = m_behaviour.cookieList().rows();
        if (static_cast<std::size_t>(row) >= rows.size()) break;
        const bool selected =
            all || (!none && ::SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row),
                                            LVIS_SELECTED) != 0);
        if (selected != rows[static_cast<std::size_t>(row)].selected) {
            m_behaviour.lstcookies_ItemSelected(row, selected);
        }
    }
}

// A click (or the space bar) toggles the caret row; moving the caret alone toggles nothing, and a
// toggle reported twice is passed on once.
void Win32MainWindowView::onCacheListClick() {
    const HWND box = handleOf(Ctl::List1);
    const int row = static_cast<int>(::SendMessageW(box, LB_GETCARETINDEX, 0, 0));
    const auto& rows = m_behaviour.cacheList().rows();
    if (row < 0 || static_cast<std::size_t>(row) >= rows.size()) return;
    const bool shown = ::SendMessageW(box, LB_GETSEL, static_cast<WPARAM>(row), 0) > 0;
    if (shown == rows[static_cast<std::size_t>(row)].selected) return;

    m_behaviour.List1_Click(row);
    const auto& after = m_behaviour.cacheList().rows();
    if (static_cast<std::size_t>(row) < after.size()) {
        ::SendMessageW(box, LB_SETSEL, after[static_cast<std::size_t>(row)].selected ? TRUE : FALSE,
                       row);
    }
}

bool Win32MainWindowView::onSetCursor(HWND target, int hitTest) {
    if (m_busy) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
        return true;
    }
    if (target != nullptr && target == handleOf(Ctl::lblurl) && hitTest == HTCLIENT) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return true;
    }
    return false;
}

LRESULT Win32MainWindowView::onControlColor(UINT message, HDC dc, HWND target) {
    const HWND tabs = handleOf(Ctl::SSTab1);
    const bool onPage = target != nullptr && std::find(m_pages.begin(), m_pages.end(),
                                                       ::GetParent(target)) != m_pages.end();
    const ControlPlace* place = onPage ? placeOfWindow(target) : nullptr;
    if (place != nullptr && showsPageBackground(place->kind) && m_pageBrush) {
        // The control's corner lies at this point of the tab control.
        POINT corner{0, 0};
        ::MapWindowPoints(target, tabs, &corner, 1);
        alignPagePattern(dc, POINT{-corner.x, -corner.y});
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(
            dc, place->control == Ctl::lblurl ? RGB(0, 0, 255) : ::GetSysColor(COLOR_BTNTEXT));
        return reinterpret_cast<LRESULT>(m_pageBrush.get());
    }
    const LRESULT brush = ::DefWindowProcW(m_window.get(), message, reinterpret_cast<WPARAM>(dc),
                                           reinterpret_cast<LPARAM>(target));
    if (target != nullptr && target == handleOf(Ctl::lblurl)) ::SetTextColor(dc, RGB(0, 0, 255));
    return brush;
}

}  // namespace purgeon::win32
