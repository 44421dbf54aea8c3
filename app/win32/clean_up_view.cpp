// The "Working..." window: one label, shown above all others while the exit-time run works.
#include "app/win32/clean_up_view.h"

#include <stdexcept>
#include <utility>

namespace purgeon::win32 {

namespace {

constexpr wchar_t kClassName[] = L"frmCleanUp";
constexpr wchar_t kCaption[] = L"Working...";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW;

constexpr int kClientWidth = 4965;
constexpr int kClientHeight = 720;
constexpr TwipsRect kLabelRect{600, 120, 3975, 255};

}  // namespace

void Win32CleanUpView::registerClass(HINSTANCE instance, HICON icon, HICON smallIcon) {
    registerWindowClass(instance, kClassName, &viewWindowProc<Win32CleanUpView>, icon, smallIcon);
}

Win32CleanUpView::Win32CleanUpView(HINSTANCE instance) {
    ::CreateWindowExW(kExStyle, kClassName, kCaption, kStyle, 0, 0, 0, 0, nullptr, nullptr,
                      instance, this);
    if (!m_window) throw std::runtime_error("clean-up window");
    m_label = ::CreateWindowExW(
        0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0,
        m_window.get(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId(Ctl::lblAction))),
        instance, nullptr);
    if (m_label == nullptr) throw std::runtime_error("clean-up label");
    applyDpi(::GetDpiForWindow(m_window.get()));
    const TwipsScale scale(m_dpi);
    placeCentered(m_window.get(), scale.px(kClientWidth), scale.px(kClientHeight), m_dpi);
}

Win32CleanUpView::~Win32CleanUpView() { m_window.reset(); }

void Win32CleanUpView::applyDpi(UINT dpi) {
    m_dpi = dpi;
    // The label takes the new font before the old one is released.
    UniqueGdiObject font = createMessageFont(dpi);
    ::SendMessageW(m_label, WM_SETFONT, reinterpret_cast<WPARAM>(fontOf(font)), FALSE);
    moveControl(m_label, TwipsScale(dpi).rect(kLabelRect));
    m_font = std::move(font);
    ::InvalidateRect(m_window.get(), nullptr, TRUE);
}

void Win32CleanUpView::showOnTop() {
    const HWND window = m_window.get();
    if (window == nullptr) return;
    ::ShowWindow(window, SW_SHOWNOACTIVATE);
    ::SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ::UpdateWindow(window);
}

void Win32CleanUpView::setAction(const std::wstring& text) {
    if (m_label == nullptr) return;
    ::SetWindowTextW(m_label, text.c_str());
    // The run keeps the thread busy: the new text is painted now, not from the message loop.
    ::RedrawWindow(m_label, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void Win32CleanUpView::destroy() { m_window.reset(); }

void Win32CleanUpView::windowCreated(HWND window) { m_window.reset(window); }

void Win32CleanUpView::windowGone() {
    m_window.release();
    m_label = nullptr;
}

LRESULT Win32CleanUpView::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND window = m_window.get();
    switch (message) {
        case WM_CLOSE:
            return 0;  // the run closes the window when it is done
        case WM_DPICHANGED: {
            guarded([&] {
                applyDpi(HIWORD(wParam));
                placeForDpi(window, lParam, kClientWidth, kClientHeight, m_dpi);
            });
            return 0;
        }
        default:
            break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace purgeon::win32
