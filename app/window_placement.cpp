// The main window's stored placement: its settings text and its return onto today's monitors.
#include "app/window_placement.h"

#include <algorithm>
#include <cwchar>

namespace purgeon {

namespace {

// The DPIs a monitor can have; anything outside is a damaged value.
constexpr unsigned kMinDpi = 48;
constexpr unsigned kMaxDpi = 960;
// A column wider than this is a damaged value.
constexpr int kMaxColumnWidth = 9999;

long long overlap(const ScreenRect& a, const ScreenRect& b) {
    const long long width = std::min(a.right, b.right) - std::max(a.left, b.left);
    const long long height = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    return width > 0 && height > 0 ? width * height : 0;
}

int scaled(int value, unsigned to, unsigned from) {
    return static_cast<int>(static_cast<long long>(value) * to / from);
}

}  // namespace

std::optional<WindowPlacement> readWindowPlacement(SettingsStore& store,
                                                   const std::wstring& application,
                                                   Status& status) {
    std::wstring text;
    status = store.read(application, kWindowSection, kPlacementKey, text);
    if (!status) {
        if (status.code == kErrorFileNotFound) status = Status();
        return std::nullopt;
    }
    // "left top right bottom dpi maximised", as written below.
    WindowPlacement placement;
    int maximized = 0;
    int consumed = 0;
    if (std::swscanf(text.c_str(), L"%d %d %d %d %u %d%n", &placement.normal.left,
                     &placement.normal.top, &placement.normal.right, &placement.normal.bottom,
                     &placement.dpi, &maximized, &consumed) != 6 ||
        static_cast<std::size_t>(consumed) != text.size() || placement.normal.width() <= 0 ||
        placement.normal.height() <= 0 || placement.dpi < kMinDpi || placement.dpi > kMaxDpi ||
        (maximized != 0 && maximized != 1))
        return std::nullopt;
    placement.maximized = maximized == 1;
    return placement;
}

Status writeWindowPlacement(SettingsStore& store, const std::wstring& application,
                            const WindowPlacement& placement) {
    const ScreenRect& r = placement.normal;
    const std::wstring text = std::to_wstring(r.left) + L" " + std::to_wstring(r.top) + L" " +
                              std::to_wstring(r.right) + L" " + std::to_wstring(r.bottom) + L" " +
                              std::to_wstring(placement.dpi) + L" " +
                              (placement.maximized ? L"1" : L"0");
    return store.write(application, kWindowSection, kPlacementKey, text);
}

std::wstring columnWidthsText(const std::vector<int>& widths) {
    std::wstring text;
    for (const int width : widths) text += (text.empty() ? L"" : L",") + std::to_wstring(width);
    return text;
}

std::optional<std::vector<int>> parseColumnWidths(const std::wstring& text) {
    std::vector<int> widths;
    std::size_t at = 0;
    while (at <= text.size()) {
        const std::size_t comma = std::min(text.find(L',', at), text.size());
        const std::wstring part = text.substr(at, comma - at);
        if (part.empty() || part.size() > 4 ||
            part.find_first_not_of(L"0123456789") != std::wstring::npos)
            return std::nullopt;
        const int width = std::stoi(part);
        if (width < 1 || width > kMaxColumnWidth) return std::nullopt;
        widths.push_back(width);
        at = comma + 1;
    }
    return widths;
}

std::optional<std::vector<int>> readColumnWidths(SettingsStore& store,
                                                 const std::wstring& application,
                                                 const wchar_t* key, Status& status) {
    std::wstring text;
    status = store.read(application, kWindowSection, key, text);
    if (!status) {
        if (status.code == kErrorFileNotFound) status = Status();
        return std::nullopt;
    }
    return parseColumnWidths(text);
}

Status writeColumnWidths(SettingsStore& store, const std::wstring& application, const wchar_t* key,
                         const std::vector<int>& widths) {
    return store.write(application, kWindowSection, key, columnWidthsText(widths));
}

ScreenRect placeOnMonitors(const WindowPlacement& stored, std::span<const MonitorArea> monitors,
                           int minimumWidth96, int minimumHeight96) {
    if (monitors.empty()) return stored.normal;
    const MonitorArea* target = nullptr;
    long long best = 0;
    for (const MonitorArea& monitor : monitors) {
        const long long shared = overlap(stored.normal, monitor.work);
        if (shared > best) {
            best = shared;
            target = &monitor;
        }
    }
    const bool lost = target == nullptr;
    if (lost) target = &monitors.front();
    const ScreenRect& work = target->work;

    const int minimumWidth = scaled(minimumWidth96, target->dpi, 96);
    const int minimumHeight = scaled(minimumHeight96, target->dpi, 96);
    const int width =
        std::min(std::max(scaled(stored.normal.width(), target->dpi, stored.dpi), minimumWidth),
                 std::max(work.width(), minimumWidth));
    const int height =
        std::min(std::max(scaled(stored.normal.height(), target->dpi, stored.dpi), minimumHeight),
                 std::max(work.height(), minimumHeight));
    int left = lost ? work.left + (work.width() - width) / 2 : stored.normal.left;
    int top = lost ? work.top + (work.height() - height) / 2 : stored.normal.top;
    // Wholly inside the work area; a window larger than it keeps its top-left corner inside.
    left = std::max(std::min(left, work.right - width), work.left);
    top = std::max(std::min(top, work.bottom - height), work.top);
    return ScreenRect{left, top, left + width, top + height};
}

}  // namespace purgeon
