// The tray window: adds and removes the notification icon, reports its clicks, shows its menu.
#include "app/win32/tray_view.h"

#include <shellapi.h>

#include <iterator>
#include <string_view>

#include "resource.h"

namespace purgeon::win32 {

namespace {

constexpr wchar_t kCaption[] = L"Form1";
// A top-level window, never shown: the taskbar's restart message reaches only those.
const WindowSpec kWindow{
    .className = L"frmtray",
    .style = WS_OVERLAPPEDWINDOW,
    .exStyle = WS_EX_TOOLWINDOW,
    .systemPlaced = true,
};
constexpr UINT kIconId = 1;
// The icon reports the mouse with this message; its low word of lParam is the mouse message.
constexpr UINT kMsgTrayIcon = WM_APP + 3;

// The single click's wait for a second click.
constexpr UINT_PTR kClickTimer = 1;

enum MenuItem : UINT {
    kMenuShow = 1,
    kMenuAbout,
    kMenuExit,
    kMenuCleanNow,
};

// Broadcast to top-level windows when the taskbar starts, after a shell crash or restart.
UINT taskbarCreatedMessage() {
    static const UINT message = ::RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

}  // namespace

void Win32TrayView::registerClass(HINSTANCE instance, HICON icon, HICON smallIcon) {
    ViewWindow::registerClass(instance, kWindow, icon, smallIcon);
    taskbarCreatedMessage();
}

Win32TrayView::Win32TrayView(HINSTANCE instance, FrmTray& behaviour)
    : ViewWindow(kWindow), m_behaviour(behaviour) {
    m_icon = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_PURGEON), IMAGE_ICON,
                                             ::GetSystemMetrics(SM_CXSMICON),
                                             ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    createWindow(instance, kCaption);
    // An elevated program still hears the taskbar's restart from the unelevated shell.
    ::ChangeWindowMessageFilterEx(window(), taskbarCreatedMessage(), MSGFLT_ALLOW, nullptr);
}

Win32TrayView::~Win32TrayView() { destroy(); }

// The icon's record for the shell, with its tip.
NOTIFYICONDATAW Win32TrayView::iconData(const std::wstring& tip) const {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = window();
    data.uID = kIconId;
    const std::size_t length = std::wstring_view(tip).copy(data.szTip, std::size(data.szTip) - 1);
    data.szTip[length] = L'\0';
    return data;
}

void Win32TrayView::addIcon(const std::wstring& tip) {
    if (!window()) return;
    NOTIFYICONDATAW data = iconData(tip);
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kMsgTrayIcon;
    data.hIcon = m_icon;
    // An icon still there (the shell did not restart after all) takes the new tip instead.
    if (::Shell_NotifyIconW(NIM_ADD, &data) || ::Shell_NotifyIconW(NIM_MODIFY, &data)) {
        m_iconShown = true;
    }
}

void Win32TrayView::setTip(const std::wstring& tip) {
    if (!m_iconShown || !window()) return;
    NOTIFYICONDATAW data = iconData(tip);
    data.uFlags = NIF_TIP;
    ::Shell_NotifyIconW(NIM_MODIFY, &data);
}

void Win32TrayView::removeIcon() {
    if (!m_iconShown || !window()) return;
    m_iconShown = false;
    NOTIFYICONDATAW data = iconData({});
    ::Shell_NotifyIconW(NIM_DELETE, &data);
}

void Win32TrayView::popupMenu() {
    const HWND owner = window();
    if (owner == nullptr) return;
    UINT choice = 0;
    {
        UniqueMenu menu(::CreatePopupMenu());
        if (!menu) return;
        ::AppendMenuW(menu.get(), MF_STRING, kMenuShow, L"Show Purgeon");
        ::AppendMenuW(menu.get(), MF_STRING, kMenuCleanNow, L"Clean Now");
        ::AppendMenuW(menu.get(), MF_STRING, kMenuAbout, L"About");
        ::AppendMenuW(menu.get(), MF_STRING, kMenuExit, L"Exit");
        POINT at{};
        ::GetCursorPos(&at);
        // Without the foreground the menu would stay open when the user clicks elsewhere.
        ::SetForegroundWindow(owner);
        choice = static_cast<UINT>(::TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_NONOTIFY, at.x,
                                                    at.y, 0, owner, nullptr));
        // Lets the menu close properly the next time it is shown.
        ::PostMessageW(owner, WM_NULL, 0, 0);
    }
    // "Exit" unloads this window and may release the view: nothing of it is used afterwards.
    FrmTray& behaviour = m_behaviour;
    switch (choice) {
        case kMenuShow:
            guarded([&] { behaviour.mnushow_Click(); });
            break;
        case kMenuCleanNow:
            guarded([&] { behaviour.mnuCleanNow_Click(); });
            break;
        case kMenuAbout:
            guarded([&] { behaviour.mnuabout_Click(); });
            break;
        case kMenuExit:
            guarded([&] { behaviour.mnuexit_Click(); });
            break;
        default:
            break;
    }
}

void Win32TrayView::startClickTimer() {
    if (window()) ::SetTimer(window(), kClickTimer, ::GetDoubleClickTime(), nullptr);
}

void Win32TrayView::stopClickTimer() {
    if (window()) ::KillTimer(window(), kClickTimer);
}

void Win32TrayView::destroy() {
    removeIcon();
    destroyWindow();
}

void Win32TrayView::windowGone() { m_iconShown = false; }

LRESULT Win32TrayView::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kMsgTrayIcon) {
        const int mouse = LOWORD(lParam);
        FrmTray& behaviour = m_behaviour;
        guarded([&] { behaviour.TrayMouseMessage(mouse); });
        return 0;  // the window and the view may be gone by now
    }
    if (message == taskbarCreatedMessage() && message != 0) {
        FrmTray& behaviour = m_behaviour;
        guarded([&] { behaviour.TaskbarCreated(); });
        return 0;
    }
    if (message == WM_TIMER && wParam == kClickTimer) {
        FrmTray& behaviour = m_behaviour;
        guarded([&] { behaviour.clickTimeElapsed(); });
        return 0;
    }
    if (message == WM_DESTROY) removeIcon();  // however the window goes, the icon goes with it
    return ViewWindow::handle(message, wParam, lParam);
}

}  // namespace purgeon::win32
