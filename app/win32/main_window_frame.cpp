// The main window's frame: its smallest size, its size changes, and its place kept for the next
// start and brought back onto the monitors there are now.
#include "app/win32/main_window_view.h"

#include <vector>

#include <shellscalingapi.h>

#include "app/win32/main_window_layout.h"

namespace purgeon::win32 {

namespace {

ScreenRect screenRect(const RECT& r) { return ScreenRect{r.left, r.top, r.right, r.bottom}; }

// The monitors' work areas and DPIs, the primary one first.
std::vector<MonitorArea> monitorAreas() {
    std::vector<MonitorArea> areas;
    ::EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR monitor, HDC, LPRECT, LPARAM data) -> BOOL {
            MONITORINFO info{};
            info.cbSize = sizeof(info);
            if (!::GetMonitorInfoW(monitor, &info)) return TRUE;
            UINT dpiX = USER_DEFAULT_SCREEN_DPI;
            UINT dpiY = USER_DEFAULT_SCREEN_DPI;
            if (FAILED(::GetDpiForMonitor(monitor, MDT_EFFECTIVE_DPI, &dpiX, &dpiY)))
                dpiX = USER_DEFAULT_SCREEN_DPI;
            auto& list = *reinterpret_cast<std::vector<MonitorArea>*>(data);
            const MonitorArea area{screenRect(info.rcWork), dpiX};
            if (info.dwFlags & MONITORINFOF_PRIMARY) {
                list.insert(list.begin(), area);
            } else {
                list.push_back(area);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&areas));
    return areas;
}

}  // namespace

SIZE Win32MainWindowView::smallestFrame(UINT atDpi) const {
    const TwipsScale scale(atDpi);
    RECT frame{0, 0, scale.px(kMainClientWidth), scale.px(kMainClientHeight)};
    ::AdjustWindowRectExForDpi(
        &frame, static_cast<DWORD>(::GetWindowLongPtrW(window(), GWL_STYLE)), FALSE,
        static_cast<DWORD>(::GetWindowLongPtrW(window(), GWL_EXSTYLE)), atDpi);
    return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

void Win32MainWindowView::onSized() {
    if (!::IsZoomed(window()) && !::IsIconic(window())) ::GetWindowRect(window(), &m_normalFrame);
    if (!::IsIconic(window())) layoutControls();
}

WindowPlacement Win32MainWindowView::placement() const {
    WindowPlacement kept;
    kept.normal = screenRect(m_normalFrame);
    kept.dpi = dpi();
    kept.maximized = m_shown ? ::IsZoomed(window()) != FALSE : m_showMaximized;
    return kept;
}

void Win32MainWindowView::restorePlacement(const WindowPlacement& kept) {
    const std::vector<MonitorArea> monitors = monitorAreas();
    const SIZE smallest = smallestFrame(USER_DEFAULT_SCREEN_DPI);
    const ScreenRect frame = placeOnMonitors(kept, monitors, smallest.cx, smallest.cy);
    // Moved onto a monitor of another DPI, the window is rescaled by the system: it is then
    // given the frame again, which is already at that monitor's DPI.
    for (int attempt = 0; attempt < 2; ++attempt) {
        const UINT before = dpi();
        ::SetWindowPos(window(), nullptr, frame.left, frame.top, frame.width(), frame.height(),
                       SWP_NOZORDER | SWP_NOACTIVATE);
        if (dpi() == before) break;
    }
    m_showMaximized = kept.maximized;
}

}  // namespace purgeon::win32
