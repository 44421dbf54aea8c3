// The "Working..." window: the step and its progress, above all others while the exit run works.
#include "app/win32/clean_up_view.h"

#include <commctrl.h>

#include <stdexcept>
#include <utility>

namespace purgeon::win32 {

namespace {

constexpr wchar_t kCaption[] = L"Working...";
const WindowSpec kWindow{
    .className = L"frmCleanUp",
    .style = WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN,
    .exStyle = WS_EX_TOOLWINDOW,
    .clientWidth = 4965,
    .clientHeight = 1200,
};
constexpr TwipsRect kLabelRect{600, 120, 3975, 255};
constexpr TwipsRect kBarRect{600, 480, 3975, 195};
constexpr TwipsRect kProgressRect{600, 780, 3975, 255};

}  // namespace

void Win32CleanUpView::registerClass(HINSTANCE instance, HICON icon, HICON smallIcon) {
    ViewWindow::registerClass(instance, kWindow, icon, smallIcon);
}

Win32CleanUpView::Win32CleanUpView(HINSTANCE instance) : ViewWindow(kWindow) {
    createWindow(instance, kCaption);
    m_label = createControl(instance, window(), Ctl::lblAction, {L"STATIC", SS_LEFT | SS_NOPREFIX});
    m_bar = createControl(instance, window(), Ctl::pbrProgress, {PROGRESS_CLASSW, 0});
    m_progress =
        createControl(instance, window(), Ctl::lblProgress, {L"STATIC", SS_LEFT | SS_NOPREFIX});
    if (m_label == nullptr || m_bar == nullptr || m_progress == nullptr)
        throw std::runtime_error("clean-up label");
    ::SendMessageW(m_bar, PBM_SETRANGE32, 0, 100);
    placeOnScreen();
}

Win32CleanUpView::~Win32CleanUpView() { destroyWindow(); }

void Win32CleanUpView::applyDpi(UINT /*previousDpi*/) {
    // The label takes the new font before the old one is released.
    UniqueGdiObject font = createMessageFont(dpi());
    setFont(m_label, font);
    setFont(m_progress, font);
    moveControl(m_label, TwipsScale(dpi()).rect(kLabelRect));
    moveControl(m_bar, TwipsScale(dpi()).rect(kBarRect));
    moveControl(m_progress, TwipsScale(dpi()).rect(kProgressRect));
    m_font = std::move(font);
    ::InvalidateRect(window(), nullptr, TRUE);
}

void Win32CleanUpView::showOnTop() {
    const HWND shown = window();
    if (shown == nullptr) return;
    ::ShowWindow(shown, SW_SHOWNOACTIVATE);
    ::SetWindowPos(shown, HWND_TOPMOST, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ::UpdateWindow(shown);
}

void Win32CleanUpView::setAction(const std::wstring& text) {
    if (m_label == nullptr) return;
    ::SetWindowTextW(m_label, text.c_str());
    // The run keeps the thread busy: the new text is painted now, not from the message loop.
    ::RedrawWindow(m_label, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void Win32CleanUpView::showProgress(int percent, const std::wstring& text) {
    if (m_label == nullptr) return;
    ::SendMessageW(m_bar, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
    ::SetWindowTextW(m_progress, text.c_str());
}

void Win32CleanUpView::destroy() { destroyWindow(); }

void Win32CleanUpView::windowGone() {
    m_label = nullptr;
    m_bar = nullptr;
    m_progress = nullptr;
}

LRESULT Win32CleanUpView::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) return 0;  // the run closes the window when it is done
    return ViewWindow::handle(message, wParam, lParam);
}

}  // namespace purgeon::win32
