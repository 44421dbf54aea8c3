// The main window: creates its controls from the layout table, mirrors the behaviour's state, and
// handles the window's own messages.
#include "app/win32/main_window_view.h"

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <stdexcept>
#include <utility>

#include "app/win32/accessible_names.h"
#include "app/win32/artwork.h"
#include "app/win32/main_window_layout.h"

#include <shellapi.h>

namespace purgeon::win32 {

namespace {

const WindowSpec kWindow{
    .className = L"frmmain",
    .style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX |
             WS_THICKFRAME | WS_CLIPCHILDREN,
    .exStyle = WS_EX_CONTROLPARENT,
    .clientWidth = kMainClientWidth,
    .clientHeight = kMainClientHeight,
    .systemPlaced = true,
    .resizable = true,
};
constexpr UINT_PTR kClockTimer = 1;
constexpr UINT kMsgRestyled = WM_APP + 2;
// Keys the message loop hands over: a step through the tabs (wParam, as a signed number), and
// Delete in a list (lParam, the list).
constexpr UINT kMsgStepTab = WM_APP + 3;
constexpr UINT kMsgDeleteKey = WM_APP + 4;

// How far apart two colours are in brightness: 1 (the same) to 21 (black on white).
double contrast(COLORREF a, COLORREF b) {
    auto luminance = [](COLORREF c) {
        auto channel = [](int value) {
            const double v = value / 255.0;
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(GetRValue(c)) + 0.7152 * channel(GetGValue(c)) +
               0.0722 * channel(GetBValue(c));
    };
    const double first = luminance(a);
    const double second = luminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

// The link's colour: the system's colour for links (hot-tracked items), unless it can hardly be
// told from the dialog colour (some themes make it pale); then the selection's colour, or the
// text's.
COLORREF linkColor() {
    const COLORREF back = ::GetSysColor(COLOR_BTNFACE);
    for (int candidate : {COLOR_HOTLIGHT, COLOR_HIGHLIGHT}) {
        const COLORREF color = ::GetSysColor(candidate);
        if (contrast(color, back) >= 3.0) return color;
    }
    return ::GetSysColor(COLOR_BTNTEXT);
}

const ControlPlace* placeOfWindow(HWND window) {
    return findPlace(controlFromId(::GetDlgCtrlID(window)));
}

}  // namespace

void Win32MainWindowView::registerClass(HINSTANCE instance, HICON icon, HICON smallIcon) {
    ViewWindow::registerClass(instance, kWindow, icon, smallIcon);
    TabPages::registerClass(instance);
}

bool Win32MainWindowView::isMainWindow(HWND window) { return isOfClass(window, kWindow); }

bool Win32MainWindowView::translateKey(HWND window, const MSG& message) {
    if (message.message != WM_KEYDOWN) return false;
    const bool control = ::GetKeyState(VK_CONTROL) < 0;
    const bool shift = ::GetKeyState(VK_SHIFT) < 0;
    const bool alt = ::GetKeyState(VK_MENU) < 0;
    if (control && !alt) {
        int step = 0;
        if (message.wParam == VK_TAB) step = shift ? -1 : 1;
        if (message.wParam == VK_NEXT && !shift) step = 1;
        if (message.wParam == VK_PRIOR && !shift) step = -1;
        if (step == 0) return false;
        ::SendMessageW(window, kMsgStepTab, static_cast<WPARAM>(step), 0);
        return true;
    }
    if (message.wParam != VK_DELETE || shift || alt) return false;
    return ::SendMessageW(window, kMsgDeleteKey, 0, reinterpret_cast<LPARAM>(message.hwnd)) != 0;
}

void Win32MainWindowView::stepTab(int step) {
    const int index = (m_behaviour.selectedTab() + step + kTabCount) % kTabCount;
    m_behaviour.selectTab(index);
}

bool Win32MainWindowView::deleteKey(HWND list) {
    struct ListDelete {
        Ctl list;
        Ctl button;
        void (FrmMain::*click)();
    };
    static constexpr ListDelete kDeletes[] = {
        {Ctl::lstcookies, Ctl::cmddelcookies, &FrmMain::cmddelcookies_Click},
        {Ctl::List1, Ctl::cmdDelSelFromCache, &FrmMain::cmdDelSelFromCache_Click},
        {Ctl::lstKeepCookies, Ctl::cmdUnkeepSite, &FrmMain::cmdUnkeepSite_Click},
    };
    for (const ListDelete& each : kDeletes) {
        if (list != handleOf(each.list)) continue;
        if (::IsWindowEnabled(handleOf(each.button))) (m_behaviour.*each.click)();
        return true;
    }
    return false;
}

Win32MainWindowView::Win32MainWindowView(HINSTANCE instance, Program& program, FrmMain& behaviour)
    : ViewWindow(kWindow),
      m_program(program),
      m_behaviour(behaviour),
      m_cookies(behaviour),
      m_cache(behaviour),
      m_history(behaviour) {
    createWindow(instance, L"");
    m_operation.attach(window());
    createControls();
    ::ShowWindow(handleOf(Ctl::cmdCancel), SW_HIDE);  // only while an operation runs
    placeOnScreen();
    // Files and folders dropped from the Explorer (the Secure Wipe tab takes them).
    ::DragAcceptFiles(window(), TRUE);
    updateClock();
    ::SetTimer(window(), kClockTimer, 1000, nullptr);
}

Win32MainWindowView::~Win32MainWindowView() { destroyWindow(); }

void Win32MainWindowView::createControls() {
    for (const ControlPlace& place : mainWindowControls()) {
        // The pages come first: above the tab control, which leaves them out when it paints, and
        // before it when Tab moves the focus.
        if (place.kind == ControlKind::Tabs) m_pages.create(instance(), window());
        const HWND parent = place.tab == kNoTab ? window() : m_pages.page(place.tab);
        const HWND created = createControl(instance(), parent, place.control, controlClassOf(place),
                                           place.text, placement(place.control));
        if (created == nullptr) throw std::runtime_error("main window control");
        m_controls.add(place.control, created);
        if (place.accessibleName != nullptr) setAccessibleName(created, place.accessibleName);
    }

    const HWND tabs = handleOf(Ctl::SSTab1);
    for (int i = 0; i < kTabCount; ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(kTabCaptions[i]);
        ::SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(i),
                       reinterpret_cast<LPARAM>(&item));
    }
    m_cache.attach(handleOf(Ctl::List1), dpi());
    m_cookies.attach(handleOf(Ctl::lstcookies), dpi());
    m_history.attach(handleOf(Ctl::URLs), dpi());
    m_browserLists.attach(handleOf(Ctl::lstBrowsers), handleOf(Ctl::lstKeepCookies), dpi());
    m_apps.attach(handleOf(Ctl::lstApps), handleOf(Ctl::lblRuleFile), handleOf(Ctl::cmdGetRules),
                  handleOf(Ctl::chkAutoApps), dpi());
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
    ::SendMessageW(handleOf(Ctl::sbar), SB_SETTEXTW, kClockPart,
                   reinterpret_cast<LPARAM>(m_clockText.c_str()));
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
    if (!window()) return;
    m_showing = true;
    // The first show brings back a window left maximised.
    ::ShowWindow(window(), !m_shown && m_showMaximized ? SW_SHOWMAXIMIZED : SW_SHOW);
    m_shown = true;
    ::SetForegroundWindow(window());
    m_showing = false;
}

void Win32MainWindowView::destroy() { destroyWindow(); }

void Win32MainWindowView::setCaption(const std::wstring& text) {
    ::SetWindowTextW(window(), text.c_str());
}

void Win32MainWindowView::setText(Ctl control, const std::wstring& text) {
    if (isFitted(control)) {
        m_wholeTexts[control] = text;
        showFitted(control);
        return;
    }
    ::SetWindowTextW(handleOf(control), text.c_str());
    if (control == Ctl::lblurl || control == Ctl::cmdcheckForUpdates) fitToText();
}

void Win32MainWindowView::setValue(Ctl control, int value) {
    const HWND button = handleOf(control);
    if (button == nullptr) return;
    if (placeOf(control).kind == ControlKind::Check) {
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
    m_pages.captureBackground(tabs);
    m_pages.show(index);
    const HWND focused = ::GetFocus();
    if (focused != nullptr && ::IsChild(window(), focused) && !::IsWindowVisible(focused)) {
        ::SetFocus(tabs);
    }
}

void Win32MainWindowView::setOperationRunning(bool running) {
    m_operation.setRunning(running);
    restoreCursor();
}

void Win32MainWindowView::showProgress(int percent, const std::wstring& text) {
    m_operation.show(percent, text);
}

void Win32MainWindowView::showBrowserChoices(
    const std::vector<std::pair<std::wstring, bool>>& choices) {
    m_browserLists.showChoices(choices);
}

void Win32MainWindowView::showKeepList(const std::vector<std::wstring>& sites) {
    m_browserLists.showKeepList(sites);
}

void Win32MainWindowView::setStatusText(const std::wstring& text) {
    m_statusText = text;
    showFittedStatus();
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
    ::RedrawWindow(window(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void Win32MainWindowView::focus(Ctl control) { ::SetFocus(handleOf(control)); }

void Win32MainWindowView::splitCookieColumns() { m_cookies.splitColumns(); }

void Win32MainWindowView::showCacheRows(const CacheList& list) { m_cache.showRows(list); }

void Win32MainWindowView::showCacheSelection(const CacheList& list) { m_cache.showSelection(list); }

void Win32MainWindowView::showCookieRows(const CookieList& list) { m_cookies.showRows(list); }

void Win32MainWindowView::showCookieSelection(const CookieList& list) {
    m_cookies.showSelection(list);
}

void Win32MainWindowView::showHistoryRows(const HistoryList& list) { m_history.showRows(list); }

void Win32MainWindowView::windowGone() {
    m_controls.clear();
    m_pages.forget();
    m_cookies.detach();
    m_cache.detach();
    m_history.detach();
    m_apps.detach();
    m_lastFocus = nullptr;
}

// After a change of colours or visual style: the tab control takes the new look first; the pages
// follow from the message loop.
void Win32MainWindowView::restyled() {
    m_pages.captureBackground(handleOf(Ctl::SSTab1));
    ::InvalidateRect(window(), nullptr, TRUE);
}

LRESULT Win32MainWindowView::handle(UINT message, WPARAM wParam, LPARAM lParam) {
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
            ::KillTimer(window(), kClockTimer);
            break;
        case WM_SIZE:
        case WM_MOVE:
            guarded([&] { onSized(); });
            break;
        case WM_DROPFILES: {
            const auto drop = reinterpret_cast<HDROP>(wParam);
            std::vector<std::wstring> paths;
            const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
            for (UINT i = 0; i < count; ++i) {
                const UINT length = ::DragQueryFileW(drop, i, nullptr, 0);
                std::wstring path(length + 1, L'\0');
                path.resize(::DragQueryFileW(drop, i, path.data(), length + 1));
                paths.push_back(std::move(path));
            }
            ::DragFinish(drop);
            guarded([&] { m_behaviour.filesDropped(paths); });
            return 0;
        }
        case WM_GETMINMAXINFO: {
            const SIZE smallest = smallestFrame(dpi());
            auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
            limits->ptMinTrackSize = POINT{smallest.cx, smallest.cy};
            return 0;
        }
        case WM_COMMAND:
            if (lParam == 0) break;
            guarded([&] { onCommand(controlFromId(LOWORD(wParam)), HIWORD(wParam)); });
            return 0;
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
            for (Ctl common : {Ctl::SSTab1, Ctl::sbar, Ctl::lstcookies, Ctl::URLs, Ctl::List1,
                               Ctl::lstBrowsers, Ctl::lstApps}) {
                ::SendMessageW(handleOf(common), message, wParam, lParam);
            }
            ::PostMessageW(window(), kMsgRestyled, 0, 0);
            break;
        case WM_SETTINGCHANGE:  // a high-contrast theme on or off among them
        case WM_THEMECHANGED:
            ::PostMessageW(window(), kMsgRestyled, 0, 0);
            break;
        case kMsgRestyled:
            restyled();
            return 0;
        case kMsgStepTab:
            guarded([&] { stepTab(static_cast<int>(wParam)); });
            return 0;
        case kMsgAppTicked:
            guarded([&] { m_apps.ticked(wParam, lParam); });
            return 0;
        case kMsgDeleteKey: {
            bool used = false;
            guarded([&] { used = deleteKey(reinterpret_cast<HWND>(lParam)); });
            return used ? 1 : 0;
        }
        case WM_DRAWITEM:
            if (onDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
            break;
        case WM_TIMER:
            if (wParam != kClockTimer) break;
            guarded([&] { updateClock(); });
            return 0;
        default:
            break;
    }
    return ViewWindow::handle(message, wParam, lParam);
}

bool Win32MainWindowView::onDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.CtlID == static_cast<UINT>(controlId(Ctl::Picture1))) {
        drawBanner(item.hDC, item.rcItem);
        return true;
    }
    if (item.CtlID == static_cast<UINT>(controlId(Ctl::Picture2))) {
        drawAboutArt(item.hDC, item.rcItem);
        return true;
    }
    return false;
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
    if (std::wcscmp(name, L"#32770") == 0 || ::GetWindow(previous, GW_OWNER) == window() ||
        !::IsWindowVisible(previous))
        return ActivationSource::ownBox;
    return ActivationSource::ownWindow;
}

void Win32MainWindowView::onActivate(WPARAM wParam, HWND previous) {
    if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focused = ::GetFocus();
        if (focused != nullptr && ::IsChild(window(), focused)) m_lastFocus = focused;
        return;
    }
    // Showing the window is an activation of its own, which the program runs itself.
    if (!m_showing) {
        ::PostMessageW(window(), kMsgActivated, static_cast<WPARAM>(activationSource(previous)), 0);
    }
    if (HIWORD(wParam) != 0) return;  // minimized
    // Focus goes back to the control that had it, as in a dialog.
    const bool usable = m_lastFocus != nullptr && ::IsWindow(m_lastFocus) &&
                        ::IsChild(window(), m_lastFocus) && ::IsWindowVisible(m_lastFocus);
    ::SetFocus(usable ? m_lastFocus : handleOf(Ctl::SSTab1));
}

bool Win32MainWindowView::onSetCursor(HWND target, int hitTest) {
    if (m_busy) {
        // While an operation runs the window still answers: the arrow stays, with the hourglass.
        ::SetCursor(::LoadCursorW(nullptr, m_operation.running() ? IDC_APPSTARTING : IDC_WAIT));
        return true;
    }
    if (target != nullptr && target == handleOf(Ctl::lblurl) && hitTest == HTCLIENT) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return true;
    }
    return false;
}

LRESULT Win32MainWindowView::onControlColor(UINT message, HDC dc, HWND target) {
    const ControlPlace* place =
        target != nullptr && m_pages.isPage(::GetParent(target)) ? placeOfWindow(target) : nullptr;
    if (place != nullptr && showsPageBackground(place->kind)) {
        if (const HBRUSH brush = m_pages.backgroundFor(target, dc, handleOf(Ctl::SSTab1))) {
            ::SetBkMode(dc, TRANSPARENT);
            ::SetTextColor(
                dc, place->control == Ctl::lblurl ? linkColor() : ::GetSysColor(COLOR_BTNTEXT));
            return reinterpret_cast<LRESULT>(brush);
        }
    }
    const LRESULT brush =
        ViewWindow::handle(message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(target));
    if (target != nullptr && target == handleOf(Ctl::lblurl)) ::SetTextColor(dc, linkColor());
    return brush;
}

}  // namespace purgeon::win32
