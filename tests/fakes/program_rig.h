// A whole program over fakes: services, recording windows and the Program itself.
#pragma once

#include "app/program.h"
#include "fakes/fake_platform.h"
#include "fakes/fake_windows.h"

namespace purgeon::fakes {

struct ProgramRig {
    Log log;
    FakeDialogs dialogs;
    FakeShell shell;
    FakeAppInfo appInfo;
    FakeInstanceGuard instance;
    FakeUrlCache urlCache;
    Services services{dialogs, shell, appInfo, instance, urlCache};
    RecordingWindowFactory windows{log};
    Program program{services, windows};

    // The main window loaded on its own, as after a close and reopen; the log starts empty.
    FrmMain& loadMain() {
        FrmMain& main = program.loadMainWindow();
        log.clear();
        return main;
    }
    RecordingMainView& mainView() { return *windows.lastMain; }
};

}  // namespace purgeon::fakes
