// The program over the real Win32 services, with recording windows and scripted message boxes.
#pragma once

#include "app/program.h"
#include "fakes/fake_platform.h"
#include "fakes/fake_stores.h"
#include "fakes/fake_windows.h"
#include "platform/win32/app_info_win32.h"
#include "platform/win32/collation_win32.h"
#include "platform/win32/date_text_win32.h"
#include "platform/win32/downloader_win32.h"
#include "platform/win32/files_win32.h"
#include "platform/win32/history_store_win32.h"
#include "platform/win32/registry_win32.h"
#include "platform/win32/settings_store_win32.h"
#include "platform/win32/system_errors_win32.h"
#include "platform/win32/system_folders_win32.h"
#include "platform/win32/url_cache_win32.h"
#include "platform/win32/volumes_win32.h"

namespace purgeon {

struct Win32Rig {
    fakes::Log log;
    fakes::FakeDialogs dialogs;
    fakes::FakeShell shell;
    win32::Win32AppInfo appInfo;
    fakes::FakeInstanceGuard instance;
    win32::WinInetUrlCache urlCache;
    win32::Win32Registry registry;
    win32::Win32SystemErrors errors;
    win32::Win32SettingsStore settings{L"Software\\PurgeonTests"};
    win32::Win32FileSystem files;
    win32::Win32SystemFolders folders;
    win32::Win32HistoryStoreFactory history;
    win32::Win32DateText dates;
    win32::Win32Downloader downloader;
    fakes::FakeLogFile logFile;
    fakes::FakePickers pickers;
    win32::Win32Volumes volumes;
    win32::Win32Collation collation;
    Services services{{files, folders, volumes, urlCache, history, shell, registry, settings,
                       errors, logFile, appInfo},
                      dialogs,
                      instance,
                      dates,
                      downloader,
                      pickers,
                      collation};
    fakes::RecordingWindowFactory windows{log};
    Program program{services, windows};
    FrmMain& main = program.loadMainWindow();

    fakes::RecordingMainView& mainView() { return *windows.lastMain; }
};

}  // namespace purgeon
