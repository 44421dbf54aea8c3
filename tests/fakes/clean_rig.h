// The cleaning engine over fakes: the platform it works through, and a small context for its
// runs (operations run in place and noted, options as stored, nothing told but noted).
#pragma once

#include <string>
#include <vector>

#include "clean/clean_context.h"
#include "clean/clean_run.h"
#include "fakes/fake_history.h"
#include "fakes/fake_platform.h"
#include "fakes/fake_stores.h"
#include "fakes/fake_volumes.h"
#include "prefs/registry_text.h"
#include "prefs/stored_options.h"

namespace purgeon::fakes {

// The platform of the engine, with a cookie folder and a temporary folder that exist.
struct CleanPlatform {
    FakeFileSystem files;
    FakeSystemFolders folders;
    FakeVolumes volumes{files};
    FakeUrlCache urlCache;
    FakeHistoryFactory history;
    FakeShell shell;
    FakeRegistry registry;
    FakeSettingsStore settings;
    FakeSystemErrors errors;
    FakeLogFile logFile;
    FakeAppInfo appInfo;
    CleanServices cleanServices{files,    folders,  volumes, urlCache, history, shell,
                                registry, settings, errors,  logFile,  appInfo};

    const std::wstring cookieFolder = L"C:\\Users\\me\\Cookies";

    CleanPlatform() {
        registry.keys = {kRunKey, kShellFoldersKey};
        registry.values[{kShellFoldersKey, L"Cookies"}] = FakeRegistry::stringValue(cookieFolder);
        files.folders[cookieFolder + L"\\"];
        files.folders[folders.temp];
    }
};

// Runs each operation in place, noting its activity; it can refuse to start them.
class NotedOperations : public OperationHost {
public:
    bool runOperation(const std::wstring& activity, const OperationWork& work,
                      const ProgressView& view = {}) override {
        activities.push_back(activity);
        if (busy) return false;
        return inPlace.runOperation(activity, work, view);
    }
    std::vector<std::wstring> activities;
    bool busy = false;  // another operation runs: none starts

private:
    InPlaceOperations inPlace;
};

struct CleanRig : CleanPlatform {
    RunLog log{logFile};
    NotedOperations operations;
    StoredOptions options;
    BrowserAreas browsers;
    CleanState state;
    std::vector<std::wstring> told;
    CleanContext context{
        cleanServices, log, operations, options, browsers, state, [this](const std::wstring& text) {
            told.push_back(text);
        }};

    CleanRig() { state.filesInFlight = 1; }  // the fakes serve one thread at a time

    CleanReport run(std::vector<const Area*> areas, CleanMode mode = CleanMode::clean) {
        CleanRun run;
        run.areas = std::move(areas);
        run.mode = mode;
        return runClean(context, run);
    }
};

}  // namespace purgeon::fakes
