// The main window's own messages: the keys the message loop hands over, activation, dropped files,
// the cursor, colour and theme changes, the controls' colours and the owner-drawn artwork.
#include "app/win32/main_window_view.h"

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <utility>

#include "app/win32/artwork.h"
#include "app/win32/main_window_layout.h"

#include <shellapi.h>

namespace purgeon::win32 {

namespace {

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
