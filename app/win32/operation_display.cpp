// The status bar's progress parts, the taskbar button's progress, Cancel and the held controls.
#include "app/win32/operation_display.h"

#include <commctrl.h>

#include <algorithm>

namespace purgeon::win32 {

namespace {

constexpr int kClockPanelWidth = 1440;
constexpr int kProgressTextWidth = 4200;
constexpr int kProgressBarWidth = 900;

// The controls that start an operation of their own.
constexpr Ctl kHeld[] = {Ctl::cmdCleanNow,        Ctl::cmdWipe,
                         Ctl::cmdWipeFreeSpace,   Ctl::cmdBrowseForFile,
                         Ctl::cmdBrowseForFolder, Ctl::cmddelcookies,
                         Ctl::cmdDelSelFromCache, Ctl::cmdDelAllFromCache,
                         Ctl::cmdClearHistory,    Ctl::chkEmptyRecycleBin,
                         Ctl::chkdeltempfiles,    Ctl::cmdcheckForUpdates,
                         Ctl::lstBrowsers,        Ctl::cmdKeepSite,
                         Ctl::cmdUnkeepSite,      Ctl::cmdCleanApps,
                         Ctl::cmdGetRules};

}  // namespace

void OperationDisplay::setRunning(bool running) {
    if (running == m_running) return;
    m_running = running;
    for (Ctl held : kHeld) ::EnableWindow(m_controls(held), running ? FALSE : TRUE);
    const HWND cancel = m_controls(Ctl::cmdCancel);
    ::ShowWindow(cancel, running ? SW_SHOWNA : SW_HIDE);
    ::EnableWindow(cancel, running ? TRUE : FALSE);

    const HWND status = m_controls(Ctl::sbar);
    if (running && m_bar == nullptr) {
        m_bar = ::CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD, 0, 0, 0, 0, status, nullptr,
                                  nullptr, nullptr);
        ::SendMessageW(m_bar, PBM_SETRANGE32, 0, 100);
    }
    ::SendMessageW(m_bar, PBM_SETPOS, 0, 0);
    ::ShowWindow(m_bar, running ? SW_SHOWNA : SW_HIDE);
    ::SendMessageW(status, SB_SETTEXTW, kProgressTextPart, reinterpret_cast<LPARAM>(L""));
    layoutStatusBar(::GetDpiForWindow(m_window));
    if (!running) taskbarProgress(-1);
}

void OperationDisplay::show(int percent, const std::wstring& text) {
    if (!m_running) return;
    ::SendMessageW(m_bar, PBM_SETPOS, static_cast<WPARAM>(std::clamp(percent, 0, 100)), 0);
    ::SendMessageW(m_controls(Ctl::sbar), SB_SETTEXTW, kProgressTextPart,
                   reinterpret_cast<LPARAM>(text.c_str()));
    taskbarProgress(percent);
}

void OperationDisplay::layoutStatusBar(UINT dpi) {
    const HWND status = m_controls(Ctl::sbar);
    ::SendMessageW(status, WM_SIZE, 0, 0);
    RECT client{};
    ::GetClientRect(m_window, &client);
    const TwipsScale scale(dpi);
    const int clock = std::max(0, static_cast<int>(client.right) - scale.px(kClockPanelWidth));
    const int bar = m_running ? std::max(0, clock - scale.px(kProgressBarWidth)) : clock;
    const int text = m_running ? std::max(0, bar - scale.px(kProgressTextWidth)) : bar;
    const int parts[4] = {text, bar, clock, -1};
    ::SendMessageW(status, SB_SETPARTS, 4, reinterpret_cast<LPARAM>(parts));
    if (m_bar == nullptr) return;
    RECT place{};
    ::SendMessageW(status, SB_GETRECT, kProgressBarPart, reinterpret_cast<LPARAM>(&place));
    ::InflateRect(&place, -2, -2);
    ::MoveWindow(m_bar, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 TRUE);
}

// The taskbar button shows the same progress; -1 takes it away. Where the shell offers no such
// button (no taskbar running), nothing shows.
void OperationDisplay::taskbarProgress(int percent) {
    if (!m_taskbarAsked) {
        m_taskbarAsked = true;
        if (FAILED(::CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_ITaskbarList3,
                                      reinterpret_cast<void**>(m_taskbar.put()))) ||
            FAILED(m_taskbar.get()->HrInit())) {
            m_taskbar.reset();
        }
    }
    if (!m_taskbar) return;
    if (percent < 0) {
        m_taskbar.get()->SetProgressState(m_window, TBPF_NOPROGRESS);
        return;
    }
    m_taskbar.get()->SetProgressState(m_window, TBPF_NORMAL);
    m_taskbar.get()->SetProgressValue(m_window, static_cast<ULONGLONG>(percent), 100);
}

}  // namespace purgeon::win32
