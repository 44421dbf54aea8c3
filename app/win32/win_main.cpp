// The program's entry point: services, windows and the message loop.
#include "app/program.h"
#include "app/win32/window_factory.h"
#include "platform/win32/history_time_win32.h"
#include "platform/win32/store_files_win32.h"
#include "platform/win32/win32_platform.h"

#include <commctrl.h>

namespace {

int runMessageLoop() {
    MSG message{};
    for (;;) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got == 0 || got == -1) break;
        purgeon::win32::dispatchMessage(message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int /*show*/) {
    try {
        using namespace purgeon;
        using namespace purgeon::win32;

        ComApartment com;
        INITCOMMONCONTROLSEX controls{};
        controls.dwSize = sizeof(controls);
        controls.dwICC =
            ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES;
        ::InitCommonControlsEx(&controls);

        Win32Dialogs dialogs;
        Win32Shell shell;
        Win32AppInfo appInfo;
        Win32InstanceGuard instanceGuard;
        WinInetUrlCache urlCache;
        Win32Registry registry;
        Win32SystemErrors errors;
        Win32SettingsStore settings;
        Win32FileSystem files;
        Win32SystemFolders folders;
        Win32HistoryStoreFactory history;
        Win32DateText dates;
        Win32Downloader downloader;
        Services services{dialogs,  shell, appInfo, instanceGuard, urlCache, registry,  errors,
                          settings, files, folders, history,       dates,    downloader};
        Win32WindowFactory windows(instance);
        Program program(services, windows);
        windows.attach(program);

        if (!program.Main()) return 0;
        return runMessageLoop();
    } catch (...) {
        return 1;
    }
}
