// Behaviour of the hidden tray window frmtray and of the "Working..." window frmCleanUp.
#pragma once

#include <string>

namespace purgeon {

class Program;

// Mouse messages the tray icon reports.
inline constexpr int kWmLButtonDown = 0x201;
inline constexpr int kWmLButtonDblClk = 0x203;
inline constexpr int kWmRButtonUp = 0x205;

class TrayView {
public:
    virtual ~TrayView() = default;
    // Adds the notification icon with its tip; also used again when the shell restarts.
    virtual void addIcon(const std::wstring& tip) = 0;
    virtual void removeIcon() = 0;
    // The icon's tip: the title, and what runs while an operation runs.
    virtual void setTip(const std::wstring& tip) = 0;
    // Pops up "Show Purgeon", "Clean Now", "About" and "Exit" at the mouse; a choice comes back as
    // a click.
    virtual void popupMenu() = 0;
    // Waits the system's double-click time, then reports clickTimeElapsed; stopping it cancels.
    virtual void startClickTimer() = 0;
    virtual void stopClickTimer() = 0;
    virtual void destroy() = 0;
};

class FrmTray {
public:
    explicit FrmTray(Program& program) : m_program(program) {}
    FrmTray(const FrmTray&) = delete;
    FrmTray& operator=(const FrmTray&) = delete;

    void attach(TrayView& view) { m_view = &view; }

    void Form_Load();
    // Removes the icon before the window goes, so it never lingers in the notification area.
    void Form_Unload();
    // A single click opens the menu once the double-click time has passed without a second
    // click; a double click shows the window; the right button opens the menu at once.
    void TrayMouseMessage(int message);
    void clickTimeElapsed();
    // The shell (taskbar) was started again: its icons are gone and ours is added anew.
    void TaskbarCreated();
    void mnushow_Click();
    void mnuCleanNow_Click();
    void mnuabout_Click();
    void mnuexit_Click();

private:
    Program& m_program;
    TrayView* m_view = nullptr;
};

// The small topmost window that names the exit-time run's steps.
class CleanUpView {
public:
    virtual ~CleanUpView() = default;
    // Shows the window above all others without taking the focus.
    virtual void showOnTop() = 0;
    // Sets lblAction and repaints it at once.
    virtual void setAction(const std::wstring& text) = 0;
    // The running step's progress, under its name.
    virtual void showProgress(int percent, const std::wstring& text) = 0;
    virtual void destroy() = 0;
};

}  // namespace purgeon
