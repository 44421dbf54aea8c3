// Start, window loading and unloading, the automatic cleaning run and the exit sequence.
#include "app/program.h"
#include "platform/scope_exit.h"

#include "prefs/registry_text.h"
#include "product/product.h"
#include "wipe/free_space_report.h"

#include <cstdio>
#include <cwchar>

namespace purgeon {

std::wstring hresultText(long code) {
    wchar_t buffer[16];
    std::swprintf(buffer, std::size(buffer), L"0x%08lX",
                  static_cast<unsigned long>(static_cast<std::uint32_t>(code)));
    return buffer;
}

Program::Program(Services& services, WindowFactory& windows)
    : m_services(services), m_windows(windows), m_log(services.logFile) {}

Program::~Program() = default;

bool Program::Main() {
    if (m_services.instance.previousInstanceRunning()) {
        m_services.dialogs.messageBox(std::wstring(kAppTitle) + L" is already running", kAppTitle,
                                      kMbOk | kMbIconInformation);
        return false;
    }
    includeIndexDat = true;
    m_log.write(std::wstring(kAppTitle).substr(1) + L" " +
                versionText(m_services.appInfo.version()) + L" started.");
    sweepFillLeftovers();

    m_tray = Tray::create(*this, [this](FrmTray& tray) { return m_windows.createTray(tray); });
    m_tray->behaviour->Form_Load();
    loadHistory();

    m_splash =
        Splash::create(*this, [this](FrmSplash& splash) { return m_windows.createSplash(splash); });
    m_splash->behaviour->Form_Load();
    m_splash->view->show();
    return true;
}

void Program::loadHistory() {
    // Without a working history store (no such component, or one that cannot be read) the
    // program runs on: the history list stays empty and clearing it says it could not.
    try {
        m_history = std::make_unique<CURLHistory>(m_services.history);
    } catch (const HistoryError& error) {
        m_history.reset();
        m_log.write(L"History: no usable history store (" + hresultText(error.code()) + L").");
    }
}

FrmMain& Program::loadMainWindow() {
    if (!m_main) {
        releaseRetired();
        m_main = MainWindow::create(
            *this, [this](FrmMain& main) { return m_windows.createMainWindow(main); });
        m_main->behaviour->Form_Load();
    }
    return *m_main->behaviour;
}

void Program::showMainWindow() {
    loadMainWindow();
    m_main->view->show();
    m_main->behaviour->activated(ActivationSource::shown);
}

void Program::unloadMainWindow() {
    if (!m_main) return;
    if (operationRunning()) {
        // The work has the window's lists in hand: the window goes once it has stopped.
        if (stopOperationFor(L"close the window")) m_unloadPending = true;
        return;
    }
    std::unique_ptr<MainWindow> window = std::move(m_main);
    window->behaviour->Form_QueryUnload();
    window->view->destroy();
    m_retiredMain.push_back(std::move(window));
}

void Program::unloadSplash() {
    if (!m_splash) return;
    m_splash->view->destroy();
    m_retiredSplash.push_back(std::move(m_splash));
}

void Program::unloadTray() {
    if (!m_tray) return;
    m_tray->behaviour->Form_Unload();
    m_tray->view->destroy();
    // The tray's own menu event is still on the stack: its objects go with the program.
    m_retiredTray.push_back(std::move(m_tray));
}

void Program::releaseRetired() {
    if (m_pumpDepth > 0) return;  // an event of a retired window may still be under way
    m_retiredMain.clear();
    m_retiredSplash.clear();
}

void Program::processMessages() {
    ++m_pumpDepth;
    const ScopeExit leave([this] { --m_pumpDepth; });
    m_windows.processMessages();
}

void Program::runAutoClean(const StatusLabel& label) {
    FrmMain& main = loadMainWindow();
    struct Step {
        Ctl box;
        const wchar_t* status;
    };
    const Step steps[] = {{Ctl::ChkAutoClearCache, L"Clearing cache contents..."},
                          {Ctl::Chkautoclearcookies, L"Deleting coookies..."},
                          {Ctl::ChkAutoClearHistory, L"Clearing History..."},
                          {Ctl::chkEmptyRecycleBin, L"Emptying Recycle Bin..."},
                          {Ctl::chkdeltempfiles, L"Deleting temp files..."}};
    m_log.write(L"Automatic cleaning run.");
    for (const Step& step : steps) {
        if (main.value(step.box) != 1) continue;
        label(step.status);
        switch (step.box) {
            case Ctl::ChkAutoClearCache:
                main.GetCacheURLList();
                main.deletecache();
                break;
            case Ctl::Chkautoclearcookies:
                main.loadCookiesList();
                main.deletecookies(false);
                break;
            case Ctl::ChkAutoClearHistory:
                // A store that cannot be cleared leaves the history as it is; the run goes on.
                clearHistory();
                reportBrowsers(clearBrowserHistories(), false);
                break;
            case Ctl::chkEmptyRecycleBin:
                emptyRecycleBin();
                break;
            default:
                clearTempFolder();
                break;
        }
    }
}

void Program::logFailure(const std::wstring& what, const Status& status) {
    if (status) return;
    // The system ends its words with a line break; the log's line ends on its own.
    std::wstring why = m_services.errors.text(status.code);
    while (!why.empty() && (why.back() == L'\r' || why.back() == L'\n')) why.pop_back();
    m_log.write(what + L": " + why);
}

void Program::logUnlisted(const std::wstring& area, const std::vector<UnlistedFolder>& unlisted) {
    for (const UnlistedFolder& folder : unlisted)
        logFailure(area + L": " + folder.path + L" could not be listed", folder.status);
}

void Program::setAutostart(bool enable) {
    logFailure(enable ? L"Autostart: the Run value was not written"
                      : L"Autostart: the Run value was not removed",
               SetAutostart(m_services.registry, m_services.appInfo, enable));
}

void Program::sweepFillLeftovers() {
    auto sweep = [this](std::stop_token stop) noexcept {
        try {
            const std::lock_guard<std::mutex> alone(m_fillFolders);
            FillRecord record(m_services.settings, kAppTitle);
            const LeftoverSweep swept =
                SweepFillLeftovers(m_services.files, m_services.volumes, record, stop);
            if (swept.removed > 0 || swept.notRemoved > 0) m_log.write(leftoverLogLine(swept));
        } catch (...) {
            m_log.write(L"Free space: the search for fill files left by an earlier wipe failed.");
        }
    };
    if (sweepOffThread) {
        m_sweep = std::jthread(sweep);
    } else {
        sweep(std::stop_token());
    }
}

bool Program::wipeFreeSpace(const std::wstring& root, FreeSpaceResult& result) {
    bool ran = false;
    const bool stay =
        runOperation(L"wiping free space", [&](std::stop_token stop, ProgressSink& sink) {
            ran = true;
            // A sweep still running at the start ends first: it must not take this fill's files.
            const std::lock_guard<std::mutex> alone(m_fillFolders);
            FillRecord record(m_services.settings, kAppTitle);
            logFailure(L"Free space: the fill could not be recorded", record.add(root));
            FreeSpaceRequest request;
            request.stop = stop;
            request.progress = progressTo(sink);
            result = WipeFreeSpace(m_services.files, m_services.volumes, root, request);
            if (result.notRemoved == 0) static_cast<void>(record.remove(root));
        });
    if (ran) {
        const std::wstring why =
            result.status.ok() ? std::wstring() : m_services.errors.text(result.status.code);
        m_log.write(freeSpaceLogLine(root, result, why));
    }
    return stay;
}

TempClearing Program::clearTempFolder() {
    TempClearing clearing;
    bool ran = false;
    runOperation(L"clearing temporary files", [&](std::stop_token stop, ProgressSink& sink) {
        ran = true;
        const TempClearingControl control{flushThreads, stop, progressTo(sink)};
        clearing = ClearTempFolder(m_services.files, m_services.folders, m_foundFiles, control);
    });
    if (!ran) {
        m_log.write(L"Temporary files: not cleared: another operation was running.");
        return clearing;
    }
    m_log.write(tempClearingSummary(clearing));
    logUnlisted(L"Temporary files", clearing.unlisted);
    return clearing;
}

bool Program::emptyRecycleBin() {
    Status emptied = Status::error(kErrorBusy);
    runOperation(L"emptying the Recycle Bin", [&](std::stop_token, ProgressSink&) {
        emptied = m_services.shell.emptyRecycleBin();
    });
    if (emptied) m_log.write(L"Recycle Bin: emptied.");
    logFailure(L"Recycle Bin: not emptied", emptied);
    return emptied.ok();
}

bool Program::clearHistory() {
    if (!m_history) {
        m_log.write(L"History: not cleared: the system offers no history store.");
        return false;
    }
    // The work clears through a store of its own: a store's objects belong to the thread that
    // made them.
    Status cleared = Status::error(kErrorBusy);
    runOperation(L"clearing the history", [&](std::stop_token, ProgressSink&) {
        std::unique_ptr<HistoryStore> store;
        cleared = m_services.history.create(store);
        if (cleared) cleared = store->clearHistory();
    });
    if (!cleared) {
        m_log.write(L"History: not cleared: the store answered " + hresultText(cleared.code) +
                    L".");
        return false;
    }
    try {
        m_history->Refresh();
    } catch (const HistoryError& error) {
        m_log.write(L"History: cleared, but not listed again: the store answered " +
                    hresultText(error.code()) + L".");
    }
    m_log.write(L"History: cleared.");
    return true;
}

BrowserClearing Program::clearBrowserHistories() {
    BrowserClearing run;
    if (!m_browsers.anyTicked()) return run;
    const std::vector<BrowserChoice> choices = m_browsers.choices();
    runOperation(L"clearing the browsers' history", [&](std::stop_token stop, ProgressSink&) {
        run = purgeon::clearBrowserHistories(m_services.files, choices, stop);
    });
    return run;
}

void Program::reportBrowsers(const BrowserClearing& run, bool interactive) {
    for (const std::wstring& line : run.lines) m_log.write(line);
    if (!interactive) return;
    std::wstring text = closeBrowsersText(run);
    std::wstring failed;
    for (const std::wstring& line : run.failures) {
        const bool inUse = line.find(L": skipped: the browser is running") != std::wstring::npos;
        if (!inUse) failed += L"\n" + line;
    }
    if (!failed.empty())
        text += (text.empty() ? L"" : L"\n\n") + std::wstring(L"Not everything could be removed:") +
                failed;
    if (!text.empty()) m_services.dialogs.messageBox(text, kAppTitle, kMbOk | kMbIconExclamation);
}

void Program::exitSequence() {
    if (m_exiting) return;
    if (operationRunning()) {
        // The rest of the exit follows once the work has stopped (see runOperation).
        if (stopOperationFor(L"end " + std::wstring(kAppTitle).substr(1))) m_exitPending = true;
        return;
    }
    if (m_services.dialogs.messageBox(L"Do you wish to end the application?", kAppTitle,
                                      kMbOkCancel) != kIdOk) {
        return;
    }
    finishExit();
}

void Program::finishExit() {
    m_exiting = true;
    // A window loaded afresh holds no options yet: it gets the stored ones, so that the exit run
    // and the autostart value follow them. The run itself performs the two immediate actions
    // when their boxes are ticked, so they do not run here as well.
    const bool wasLoaded = m_main != nullptr;
    FrmMain& main = loadMainWindow();
    if (!wasLoaded) main.loadUserPrefs(false);

    if (main.value(Ctl::chkDelOnShutDown) == 1) {
        std::unique_ptr<CleanUpView> working = m_windows.createCleanUp();
        working->showOnTop();
        setWorkingWindow(working.get());
        runAutoClean([&](const std::wstring& text) { working->setAction(text); });
        setWorkingWindow(nullptr);
        working->destroy();
    }
    unloadMainWindow();
    unloadTray();
    m_windows.endProgram();
}

OperationRunner& Program::runner() {
    if (!m_runner) m_runner = m_windows.createRunner();
    return *m_runner;
}

void Program::cancelOperation() {
    if (operationRunning()) {
        m_log.write(L"Stopped by the user.");
        runner().cancel();
    }
}

bool Program::stopOperationFor(const std::wstring& end) {
    if (m_services.dialogs.messageBox(L"Purgeon is still at work. Stop it now and " + end + L"?",
                                      kAppTitle, kMbOkCancel | kMbIconQuestion) != kIdOk) {
        return false;
    }
    m_log.write(L"Stopped to " + end + L".");
    runner().cancel();
    return true;
}

void Program::showProgress(const std::wstring& activity, const OperationProgress& progress,
                           std::chrono::steady_clock::time_point started) {
    const int percent = progressPercent(progress);
    const std::wstring text = progressText(progress, std::chrono::steady_clock::now() - started);
    if (m_main) m_main->view->showProgress(percent, text);
    if (m_working) m_working->showProgress(percent, text);
    if (m_tray) {
        m_tray->view->setTip(std::wstring(kAppTitle) + L": " + activity + L", " +
                             std::to_wstring(percent) + L"%");
    }
}

bool Program::runOperation(const std::wstring& activity, const OperationWork& work,
                           const ProgressView& view) {
    OperationRunner& running = runner();
    if (running.running()) {
        m_log.write(L"Not started (" + activity + L"): another operation is running.");
        return false;
    }
    const auto started = std::chrono::steady_clock::now();
    if (m_main) m_main->view->setOperationRunning(true);
    {
        // Windows unloaded while the work runs stay alive until it has returned.
        ++m_pumpDepth;
        const ScopeExit back([this] {
            --m_pumpDepth;
            if (m_main) m_main->view->setOperationRunning(false);
            if (m_tray) m_tray->view->setTip(kAppTitle);
        });
        running.run(work, [&](const OperationProgress& progress) {
            showProgress(activity, progress, started);
            if (view) view(progress);
        });
    }
    if (m_exitPending) {
        m_exitPending = false;
        finishExit();
        return false;
    }
    if (m_unloadPending) {
        m_unloadPending = false;
        unloadMainWindow();
        return false;
    }
    return true;
}

}  // namespace purgeon
