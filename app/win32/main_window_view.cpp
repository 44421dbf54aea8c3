// The main window: creates its controls from the layout table and mirrors the behaviour's state.
#include "app/win32/main_window_view.h"

#include <algorithm>
#include <span>
#include <stdexcept>
#include <utility>

#include "app/win32/accessible_names.h"
#include "app/win32/main_window_layout.h"
#include "platform/scope_exit.h"

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

}  // namespace

void Win32MainWindowView::registerClass(HINSTANCE instance, HICON icon, HICON smallIcon) {
    ViewWindow::registerClass(instance, kWindow, icon, smallIcon);
    TabPages::registerClass(instance);
}

bool Win32MainWindowView::isMainWindow(HWND window) { return isOfClass(window, kWindow); }

Win32MainWindowView::Win32MainWindowView(HINSTANCE instance, Program& program, FrmMain& behaviour)
    : ViewWindow(kWindow),
      m_program(program),
      m_behaviour(behaviour),
      m_cookies(behaviour),
      m_cache(behaviour),
      m_history(behaviour) {
    createWindow(instance, L"");
    m_operation.attach(window());
}

Win32MainWindowView::~Win32MainWindowView() { destroyWindow(); }

bool Win32MainWindowView::buildPart() {
    const std::span<const ControlPlace> places = mainWindowControls();
    if (m_controlsMade < places.size()) {
        const std::size_t end = std::min(places.size(), m_controlsMade + kControlsPerPart);
        for (; m_controlsMade < end; ++m_controlsMade) createControl(places[m_controlsMade]);
    } else if (!m_controlsSetUp) {
        setUpControls();
        m_controlsSetUp = true;
    } else if (!m_whole) {
        placeFirst();
        m_whole = true;
    }
    return m_whole;
}

void Win32MainWindowView::createControl(const ControlPlace& place) {
    // The pages come first: above the tab control, which leaves them out when it paints, and
    // before it when Tab moves the focus.
    if (place.kind == ControlKind::Tabs) m_pages.create(instance(), window());
    const HWND parent = place.tab == kNoTab ? window() : m_pages.page(place.tab);
    const HWND created =
        win32::createControl(instance(), parent, place.control, controlClassOf(place), place.text,
                             placement(place.control));
    if (created == nullptr) throw std::runtime_error("main window control");
    m_controls.add(place.control, created);
    if (place.accessibleName != nullptr) setAccessibleName(created, place.accessibleName);
}

void Win32MainWindowView::setUpControls() {
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
    ::ShowWindow(handleOf(Ctl::cmdCancel), SW_HIDE);  // only while an operation runs
}

void Win32MainWindowView::placeFirst() {
    {
        // The fonts and the window's size would each lay the controls out: once is enough.
        m_holdLayout = true;
        const ScopeExit release([this] { m_holdLayout = false; });
        placeOnScreen();
    }
    layoutControls();
    // Files and folders dropped from the Explorer (the Secure Wipe tab takes them).
    ::DragAcceptFiles(window(), TRUE);
    updateClock();
    ::SetTimer(window(), kClockTimer, 1000, nullptr);
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

void Win32MainWindowView::splitColumns(Ctl list) {
    if (list == Ctl::lstcookies) m_cookies.splitColumns();
    if (list == Ctl::URLs) m_history.splitColumns();
}

void Win32MainWindowView::showCacheRows(const CacheList& list) { m_cache.showRows(list); }

void Win32MainWindowView::showCacheSelection(const CacheList& list) { m_cache.showSelection(list); }

void Win32MainWindowView::showCacheTexts(const CacheList&) { m_cache.showTexts(); }

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

}  // namespace purgeon::win32
