// Where the main window was left: its restored size and place, the DPI it was measured at and
// whether it was maximised; kept in the settings and brought back onto the monitors there are now.
// And the widths of its lists' columns, kept beside it.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/settings_store.h"
#include "platform/status.h"
#include "prefs/option_table.h"

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

// The widths of a list's columns, at 96 DPI, as the settings keep them ("120,80,60"), and read
// back; nothing for a text that is not a list of widths (each from 1 to 9999).
std::wstring columnWidthsText(const std::vector<int>& widths);
std::optional<std::vector<int>> parseColumnWidths(const std::wstring& text);
// The widths kept for a list (key "CookieColumns", say, beside the placement); nothing when none
// are kept or what is kept makes no sense. A failure to read (other than a missing value) is
// given in status.
std::optional<std::vector<int>> readColumnWidths(SettingsStore& store,
                                                 const std::wstring& application,
                                                 const wchar_t* key, Status& status);
Status writeColumnWidths(SettingsStore& store, const std::wstring& application, const wchar_t* key,
                         const std::vector<int>& widths);

// The frame to restore on the monitors there are now (the first is the primary one): on the
// monitor the stored frame overlaps most, or centred on the primary one when it overlaps none;
// its size rescaled to that monitor's DPI, never below the smallest frame (given at 96 DPI) nor
// above the work area, and moved wholly into the work area.
ScreenRect placeOnMonitors(const WindowPlacement& stored, std::span<const MonitorArea> monitors,
                           int minimumWidth96, int minimumHeight96);

}  // namespace purgeon
