// What the main window shows while an operation runs: progress in the status bar and on the
// taskbar button, "&Cancel", and the controls that would start another operation held.
#pragma once

#include <string>

#include <shobjidl.h>

#include "app/win32/view_support.h"
#include "platform/win32/handles.h"

namespace purgeon::win32 {

// The status bar's parts: the action, the progress in words, the progress bar, the clock.
inline constexpr int kStatusPart = 0;
inline constexpr int kProgressTextPart = 1;
inline constexpr int kProgressBarPart = 2;
inline constexpr int kClockPart = 3;

class OperationDisplay {
public:
    explicit OperationDisplay(const ControlHandles& controls) : m_controls(controls) {}
    void attach(HWND window) { m_window = window; }

    void setRunning(bool running);
    void show(int percent, const std::wstring& text);
    bool running() const { return m_running; }
    // Divides the status bar for the window's width at this DPI; the progress parts are empty
    // while nothing runs.
    void layoutStatusBar(UINT dpi);

private:
    void taskbarProgress(int percent);

    HWND m_window = nullptr;
    const ControlHandles& m_controls;
    bool m_running = false;
    HWND m_bar = nullptr;  // the progress bar, a child of the status bar
    ComPtr<ITaskbarList3> m_taskbar;
    bool m_taskbarAsked = false;
};

}  // namespace purgeon::win32
