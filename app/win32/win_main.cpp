// The program's entry point: services, windows and the message loop.
#include "app/program.h"
#include "cli/command_run.h"
#include "app/win32/window_factory.h"
#include "app/win32/view_support.h"
#include "platform/win32/app_info_win32.h"
#include "platform/win32/collation_win32.h"
#include "platform/win32/console_win32.h"
#include "platform/win32/date_text_win32.h"
#include "platform/win32/dialogs_win32.h"
#include "platform/win32/downloader_win32.h"
#include "platform/win32/files_win32.h"
#include "platform/win32/history_store_win32.h"
#include "platform/win32/instance_guard_win32.h"
#include "platform/win32/log_file_win32.h"
#include "platform/win32/pickers_win32.h"
#include "platform/win32/registry_win32.h"
#include "platform/win32/settings_store_win32.h"
#include "platform/win32/shell_win32.h"
#include "platform/win32/system_errors_win32.h"
#include "platform/win32/system_folders_win32.h"
#include "platform/win32/trace_system_win32.h"
#include "platform/win32/windows_traces_win32.h"
#include "platform/win32/url_cache_win32.h"
#include "platform/win32/volumes_win32.h"

#include <commctrl.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <string>
#include <vector>

// The tray's behaviour names the icon's mouse messages by the window system's numbers.
static_assert(purgeon::kWmLButtonDown == static_cast<int>(WM_LBUTTONDOWN));
static_assert(purgeon::kWmLButtonDblClk == static_cast<int>(WM_LBUTTONDBLCLK));
static_assert(purgeon::kWmRButtonUp == static_cast<int>(WM_RBUTTONUP));

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

// A failure that ended the program, with the program's own log gone: written through a log of
// its own.
void logFatal(const char* what) noexcept {
    try {
        purgeon::win32::Win32LogFile file;
        purgeon::RunLog log(file);
        purgeon::win32::setEventFailureLog(&log);
        purgeon::win32::reportFailure(what, std::source_location::current());
        purgeon::win32::setEventFailureLog(nullptr);
    } catch (...) {
        ::OutputDebugStringW(L"Purgeon: the program failed\n");
    }
}

// Whether the process that started this one is the Explorer (its verbs start programs so).
bool startedByExplorer() {
    purgeon::win32::UniqueHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot || snapshot.get() == INVALID_HANDLE_VALUE) {
        snapshot.release();
        return false;
    }
    const DWORD self = ::GetCurrentProcessId();
    DWORD parent = 0;
    std::wstring parentName;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL ok = ::Process32FirstW(snapshot.get(), &entry); ok;
         ok = ::Process32NextW(snapshot.get(), &entry)) {
        if (entry.th32ProcessID == self) parent = entry.th32ParentProcessID;
    }
    entry.dwSize = sizeof(entry);
    for (BOOL ok = ::Process32FirstW(snapshot.get(), &entry); ok && parent != 0;
         ok = ::Process32NextW(snapshot.get(), &entry)) {
        if (entry.th32ProcessID == parent) parentName = entry.szExeFile;
    }
    return ::lstrcmpiW(parentName.c_str(), L"explorer.exe") == 0;
}

// The arguments the program was started with, without its own name.
std::vector<std::wstring> commandArguments() {
    int count = 0;
    purgeon::win32::UniqueLocalMem block(::CommandLineToArgvW(::GetCommandLineW(), &count));
    std::vector<std::wstring> arguments;
    const auto* argv = static_cast<const wchar_t* const*>(block.get());
    for (int i = 1; argv && i < count; ++i) arguments.emplace_back(argv[i]);
    return arguments;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int /*show*/) {
    try {
        using namespace purgeon;
        using namespace purgeon::win32;

        ComApartment com;
        const std::vector<std::wstring> arguments = commandArguments();
        INITCOMMONCONTROLSEX controls{};
        controls.dwSize = sizeof(controls);
        controls.dwICC = ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES |
                         ICC_BAR_CLASSES | ICC_PROGRESS_CLASS;
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
        Win32LogFile logFile;
        Win32Pickers pickers;
        Win32Volumes volumes;
        Win32Collation collation;
        Win32TraceSystem traces;
        Win32WindowsTraces windowsTraces;
        Services services{{files, folders, volumes, urlCache, history, shell, registry, settings,
                           errors, logFile, appInfo},
                          dialogs,
                          instanceGuard,
                          dates,
                          downloader,
                          pickers,
                          collation};
        // With arguments the program runs without windows, beside any copy in the tray.
        if (!arguments.empty()) {
            Win32ConsoleOutput console;
            // Started by the Explorer ("Wipe with Purgeon"), a wipe asks first, as the Secure
            // Wipe tab does; a script's wipe asks nothing.
            AskFirst askFirst;
            if (startedByExplorer()) {
                askFirst = [&dialogs](const std::wstring& question) {
                    return dialogs.messageBox(question, kAppTitle,
                                              kMbOkCancel | kMbIconExclamation) == kIdOk;
                };
            }
            return runCommandLine(arguments, services, console, askFirst, &traces, &windowsTraces);
        }
        Win32WindowFactory windows(instance);
        Program program(services, windows);
        program.useTraces(traces, &windowsTraces);
        windows.attach(program);
        setEventFailureLog(&program.log());
        // The log goes with the program: nothing may write to it afterwards.
        struct ForgetLog {
            ~ForgetLog() { setEventFailureLog(nullptr); }
        } forget;

        if (!program.Main()) return 0;
        return runMessageLoop();
    } catch (const std::exception& error) {
        logFatal(error.what());
        return 1;
    } catch (...) {
        logFatal("an unknown exception");
        return 1;
    }
}
