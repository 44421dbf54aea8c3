// A whole program over fakes: services, recording windows and the Program itself.
#pragma once

#include "app/program.h"
#include "clean/clean_run.h"
#include "clean/recycle_bin_area.h"
#include "clean/temp_area.h"
#include "prefs/registry_text.h"
#include "prefs/stored_options.h"
#include "fakes/clean_rig.h"
#include "fakes/fake_windows.h"

namespace purgeon::fakes {

struct ProgramRig : CleanPlatform {
    Log log;
    FakeDialogs dialogs;
    FakeInstanceGuard instance;
    FakeDateText dates;
    FakeDownloader downloader;
    FakePickers pickers;
    FakeCollation collation;
    Services services{cleanServices, dialogs, instance, dates, downloader, pickers, collation};
    RecordingWindowFactory windows{log};
    Program program{services, windows};

    ProgramRig() {
        pickers.log = &log;
        program.state().filesInFlight = 1;  // the fakes serve one thread at a time
        program.sweepOffThread = false;
    }

    // The main window loaded on its own, as after a close and reopen; the log starts empty.
    FrmMain& loadMain() {
        FrmMain& main = program.loadMainWindow();
        log.clear();
        return main;
    }
    RecordingMainView& mainView() { return *windows.lastMain; }

    // Cleans one area through the program's run loop, with nothing stored as the options.
    AreaResult clean(const Area& area) {
        const StoredOptions options;
        CleanContext context = program.cleanContext(options);
        CleanRun run;
        run.areas = {&area};
        return runClean(context, run).entries.front().result;
    }
};

}  // namespace purgeon::fakes
