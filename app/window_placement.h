// Where the main window was left: its restored size and place, the DPI it was measured at and
// whether it was maximised; kept in the settings and brought back onto the monitors there are now.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "platform/settings_store.h"
#include "platform/status.h"

namespace purgeon {

// A rectangle on the virtual screen, in pixels; right and bottom lie outside.
struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const ScreenRect&) const = default;
};

struct WindowPlacement {
    ScreenRect normal;  // the window's frame when it is neither maximised nor minimised
    unsigned dpi = 96;  // of the monitor it was on
    bool maximized = false;
    bool operator==(const WindowPlacement&) const = default;
};

// One monitor as the window system describes it: its work area (without the taskbar) and DPI.
struct MonitorArea {
    ScreenRect work;
    unsigned dpi = 96;
};

// The placement the settings hold; nothing when none is stored or what is stored makes no sense.
// A failure to read (other than a missing value) is given in status.
std::optional<WindowPlacement> readWindowPlacement(SettingsStore& store,
                                                   const std::wstring& application, Status& status);
Status writeWindowPlacement(SettingsStore& store, const std::wstring& application,
                            const WindowPlacement& placement);

// The frame to restore on the monitors there are now (the first is the primary one): on the
// monitor the stored frame overlaps most, or centred on the primary one when it overlaps none;
// its size rescaled to that monitor's DPI, never below the smallest frame (given at 96 DPI) nor
// above the work area, and moved wholly into the work area.
ScreenRect placeOnMonitors(const WindowPlacement& stored, std::span<const MonitorArea> monitors,
                           int minimumWidth96, int minimumHeight96);

}  // namespace purgeon
