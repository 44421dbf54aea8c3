// Registration, creation, DPI changes and the window procedure shared by every view.
#include "app/win32/view_window.h"

#include <stdexcept>
#include <string>
#include <string_view>

namespace purgeon::win32 {

void ViewWindow::registerClass(HINSTANCE instance, const WindowSpec& spec, HICON icon,
                               HICON smallIcon) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &ViewWindow::procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hIconSm = smallIcon;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground =
        spec.background ? spec.background
                        : reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszClassName = spec.className;
    if (!::RegisterClassExW(&windowClass))
        throw std::runtime_error("a window class cannot be registered");
}

bool ViewWindow::isOfClass(HWND window, const WindowSpec& spec) {
    wchar_t name[64] = {};
    return window != nullptr && ::GetClassNameW(window, name, 64) > 0 &&
           std::wstring_view(name) == spec.className;
}

ViewWindow::~ViewWindow() {
    if (!m_window) return;
    ::SetWindowLongPtrW(m_window.get(), GWLP_USERDATA, 0);
    m_window.reset();
}

void ViewWindow::createWindow(HINSTANCE instance, const wchar_t* caption) {
    m_instance = instance;
    const int x = m_spec.systemPlaced ? CW_USEDEFAULT : 0;
    const int size = m_spec.clientWidth > 0 ? 0 : CW_USEDEFAULT;
    // The window procedure takes the window on WM_NCCREATE.
    ::CreateWindowExW(m_spec.exStyle, m_spec.className, caption, m_spec.style, x, x, size, size,
                      nullptr, nullptr, instance, this);
    if (!m_window) {
        const std::wstring_view name(m_spec.className);
        throw std::runtime_error("the window " + std::string(name.begin(), name.end()) +
                                 " cannot be created");
    }
    m_dpi = ::GetDpiForWindow(m_window.get());
}

void ViewWindow::placeOnScreen() {
    applyDpi(m_dpi);
    const TwipsScale scale(m_dpi);
    placeCentered(m_window.get(), scale.px(m_spec.clientWidth), scale.px(m_spec.clientHeight),
                  m_dpi);
    placed();
}

void ViewWindow::rescale(UINT dpi, LPARAM suggestion) {
    const UINT previousDpi = m_dpi;
    m_dpi = dpi;
    applyDpi(previousDpi);
    if (m_spec.resizable) {
        const auto* suggested = reinterpret_cast<const RECT*>(suggestion);
        ::SetWindowPos(m_window.get(), nullptr, suggested->left, suggested->top,
                       suggested->right - suggested->left, suggested->bottom - suggested->top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        placeForDpi(m_window.get(), suggestion, m_spec.clientWidth, m_spec.clientHeight, m_dpi);
    }
    placed();
}

LRESULT ViewWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcW(m_window.get(), message, wParam, lParam);
}

LRESULT CALLBACK ViewWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* view =
            static_cast<ViewWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(view));
        view->m_window.reset(window);
    }
    auto* view = reinterpret_cast<ViewWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (view == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        view->m_window.release();
        guarded([&] { view->windowGone(); });
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_DPICHANGED && view->m_spec.clientWidth > 0) {
        guarded([&] { view->rescale(HIWORD(wParam), lParam); });
        return 0;
    }
    // A message whose handling failed counts as handled.
    LRESULT result = 0;
    guarded([&] { result = view->handle(message, wParam, lParam); });
    return result;
}

}  // namespace purgeon::win32
