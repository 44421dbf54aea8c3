// Fonts at a DPI, controls, the placement of top-level windows by client size, failures in events.
#include "app/win32/view_support.h"

#include <algorithm>
#include <string_view>

namespace purgeon::win32 {

namespace {

LOGFONTW messageLogFont(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (::SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0, dpi)) {
        return metrics.lfMessageFont;
    }
    // Older systems: the metrics come at the system DPI and are rescaled here.
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) {
        metrics.lfMessageFont.lfHeight =
            ::MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi),
                     static_cast<int>(::GetDpiForSystem()));
        return metrics.lfMessageFont;
    }
    LOGFONTW fallback{};
    fallback.lfHeight = -::MulDiv(8, static_cast<int>(dpi), 72);
    fallback.lfWeight = FW_NORMAL;
    fallback.lfCharSet = DEFAULT_CHARSET;
    std::wstring_view(L"Tahoma").copy(fallback.lfFaceName, LF_FACESIZE - 1);
    return fallback;
}

void placeWindow(HWND window, POINT topLeft, int clientWidth, int clientHeight, UINT dpi,
                 bool center) {
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_EXSTYLE));
    RECT frame{0, 0, clientWidth, clientHeight};
    ::AdjustWindowRectExForDpi(&frame, style, FALSE, exStyle, dpi);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    int x = topLeft.x;
    int y = topLeft.y;
    if (center) {
        MONITORINFO monitor{};
        monitor.cbSize = sizeof(monitor);
        ::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
        const RECT& work = monitor.rcWork;
        x = work.left + ((work.right - work.left) - width) / 2;
        y = work.top + ((work.bottom - work.top) - height) / 2;
    }
    ::SetWindowPos(window, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

UniqueGdiObject createMessageFont(UINT dpi, bool bold, int hundredthsOfPoint, const wchar_t* face) {
    LOGFONTW font = messageLogFont(dpi);
    if (bold) font.lfWeight = FW_BOLD;
    if (hundredthsOfPoint > 0) {
        font.lfHeight = -::MulDiv(hundredthsOfPoint, static_cast<int>(dpi), 7200);
    }
    if (face != nullptr) {
        const std::size_t length = std::wstring_view(face).copy(font.lfFaceName, LF_FACESIZE - 1);
        font.lfFaceName[length] = L'\0';
    }
    return UniqueGdiObject(::CreateFontIndirectW(&font));
}

void placeCentered(HWND window, int clientWidth, int clientHeight, UINT dpi) {
    placeWindow(window, POINT{0, 0}, clientWidth, clientHeight, dpi, true);
}

void placeAt(HWND window, POINT topLeft, int clientWidth, int clientHeight, UINT dpi) {
    placeWindow(window, topLeft, clientWidth, clientHeight, dpi, false);
}

void setFont(HWND control, const UniqueGdiObject& font) {
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fontOf(font)), FALSE);
}

void moveControl(HWND control, const RECT& r) {
    ::MoveWindow(control, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

HWND createControl(HINSTANCE instance, HWND parent, Ctl control, const ControlClass& type,
                   const wchar_t* text, const RECT& r) {
    return ::CreateWindowExW(type.exStyle, type.name, text, WS_CHILD | WS_VISIBLE | type.style,
                             r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId(control))),
                             instance, nullptr);
}

std::wstring windowText(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return text;
}

void placeForDpi(HWND window, LPARAM suggestion, int clientWidthTwips, int clientHeightTwips,
                 UINT dpi) {
    const auto* suggested = reinterpret_cast<const RECT*>(suggestion);
    const TwipsScale scale(dpi);
    placeAt(window, POINT{suggested->left, suggested->top}, scale.px(clientWidthTwips),
            scale.px(clientHeightTwips), dpi);
}

namespace {

RunLog* g_failureLog = nullptr;

std::wstring widened(const char* text) {
    std::wstring wide;
    for (const char* c = text; c != nullptr && *c != '\0'; ++c)
        wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*c)));
    return wide;
}

}  // namespace

void setEventFailureLog(RunLog* log) noexcept { g_failureLog = log; }

void reportViewFailure(const std::wstring& line) noexcept {
    try {
        ::OutputDebugStringW((L"Purgeon: " + line + L"\n").c_str());
        if (g_failureLog != nullptr) g_failureLog->write(line);
    } catch (...) {
        ::OutputDebugStringW(L"Purgeon: a view's failure could not be written\n");
    }
}

void reportFailure(const char* what, const std::source_location& where) noexcept {
    try {
        const std::wstring line = L"Unexpected failure in " + widened(where.function_name()) +
                                  L" (line " + std::to_wstring(where.line()) + L"): " +
                                  widened(what);
        ::OutputDebugStringW((L"Purgeon: " + line + L"\n").c_str());
        if (g_failureLog != nullptr) g_failureLog->write(line);
    } catch (...) {
        ::OutputDebugStringW(L"Purgeon: a window event failed\n");
    }
}

}  // namespace purgeon::win32
