// Start, window loading and unloading, the automatic cleaning run and the exit sequence.
#include "app/program.h"

#include "clean/app_rules.h"
#include "clean/area_table.h"
#include "clean/clean_run.h"
#include "clean/failure_text.h"
#include "clean/free_space_job.h"
#include "clean/history_area.h"
#include "clean/windows_items.h"
#include "platform/scope_exit.h"
#include "prefs/registry_text.h"
#include "prefs/stored_options.h"
#include "product/product.h"
#include "wipe/free_space_report.h"

namespace purgeon {

namespace {

// The automatic run as the user sees it: each step's text on the caller's label, and the main
// window, while it is loaded, listing afresh what the step acts on and showing what went.
class AutoRunWatch : public RunWatch {
public:
    AutoRunWatch(Program& program, const StatusLabel& label) : m_program(program), m_label(label) {}
    void starting(const Area& area) override {
        if (area.status) m_label(area.status);
        if (FrmMain* main = m_program.mainWindow()) main->runStarting(area);
    }
    void finished(const Area& area, const AreaResult& result) override {
        if (FrmMain* main = m_program.mainWindow()) main->runFinished(area, result);
    }

private:
    Program& m_program;
    const StatusLabel& m_label;
};

}  // namespace

Program::Program(Services& services, WindowFactory& windows)
    : m_services(services), m_windows(windows), m_log(services.logFile) {}

Program::~Program() = default;

bool Program::Main() {
    if (m_services.instance.previousInstanceRunning()) {
        m_services.dialogs.messageBox(std::wstring(kAppTitle) + L" is already running", kAppTitle,
                                      kMbOk | kMbIconInformation);
        return false;
    }
    m_state.includeIndexDat = true;
    m_log.write(std::wstring(kAppTitle).substr(1) + L" " +
                versionText(m_services.appInfo.version()) + L" started.");
    sweepFillLeftovers();

    m_tray = Tray::create(*this, [this](FrmTray& tray) { return m_windows.createTray(tray); });
    m_tray->behaviour->Form_Load();
    loadHistory(m_state, m_services.history, m_log);

    m_splash =
        Splash::create(*this, [this](FrmSplash& splash) { return m_windows.createSplash(splash); });
    m_splash->behaviour->Form_Load();
    m_splash->view->show();
    return true;
}

FrmMain& Program::loadMainWindow() {
    while (!loadMainWindowPart()) {
    }
    return *m_main->behaviour;
}

bool Program::loadMainWindowPart() {
    if (m_main) return true;
    if (!m_mainInMaking) {
        releaseRetired();
        m_mainInMaking = MainWindow::create(
            *this, [this](FrmMain& main) { return m_windows.createMainWindow(main); });
    }
    if (!m_mainInMaking->view->buildPart()) return false;
    m_main = std::move(m_mainInMaking);
    m_main->behaviour->Form_Load();
    return true;
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

void Program::startUpLoaded() {
    m_startingUp = false;
    std::vector<std::function<void()>> waiting = std::move(m_waitingCommands);
    m_waitingCommands.clear();
    for (const std::function<void()>& command : waiting) {
        if (m_exiting) return;
        command();
    }
}

void Program::startUpFailed() {
    m_startingUp = false;
    m_waitingCommands.clear();
}

void Program::trayCommand(std::function<void()> command) {
    if (m_startingUp) {
        m_waitingCommands.push_back(std::move(command));
        return;
    }
    command();
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

CleanContext Program::cleanContext(const OptionControls& options) {
    return CleanContext{
        m_services, m_log, *this, options, m_browsers, m_state, [this](const std::wstring& text) {
            m_services.dialogs.messageBox(text, kAppTitle, kMbOk);
        }};
}

void Program::useTraces(TraceSystem& traces, WindowsTraces* windowsTraces) {
    m_apps = std::make_unique<AppRules>(traces);
    m_apps->readOnRun = true;
    m_state.apps = m_apps.get();
    if (windowsTraces == nullptr) return;
    m_windowsItems = std::make_unique<WindowsItems>(traces, *windowsTraces);
    m_state.windows = m_windowsItems.get();
}

void Program::runAutoClean(const StatusLabel& label, const OptionControls& options) {
    m_log.write(L"Automatic cleaning run.");
    static_cast<void>(runTicked(CleanMode::clean, label, options));
}

CleanReport Program::runTicked(CleanMode mode, const StatusLabel& label,
                               const OptionControls& options) {
    CleanContext context = cleanContext(options);
    context.withBrowsers = true;
    if (FrmMain* main = mainWindow()) context.shown = main->shownLists();
    AutoRunWatch watch(*this, label);
    CleanRun run;
    const std::span<const Area* const> areas = cleanAreas();
    run.areas.assign(areas.begin(), areas.end());
    run.onlyTicked = true;
    run.mode = mode;
    m_runStop = std::stop_source();
    run.stop = m_runStop.get_token();
    run.watch = &watch;
    m_tickedRun = true;
    const ScopeExit ended([this] { m_tickedRun = false; });
    return runClean(context, run);
}

void Program::loadBrowsers() {
    loadBrowserChoices(m_browsers, m_services.files, m_services.folders, m_services.settings,
                       m_services.errors, m_log);
}

void Program::logFailure(const std::wstring& what, const Status& status) {
    purgeon::logFailure(m_log, m_services.errors, what, status);
}

void Program::logUnlisted(const std::wstring& area, const std::vector<UnlistedFolder>& unlisted) {
    for (const std::wstring& line : unlistedLines(m_services.errors, area, unlisted))
        m_log.write(line);
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
    return wipeFreeSpaceRecorded(m_services, *this, m_log, m_fillFolders, root, result);
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
    // The main window's options are what its controls show; with the window closed they are the
    // stored ones, read without loading it, so that the exit run and the autostart value follow
    // them. Nothing is acted on as they are read: the run itself performs the two immediate
    // actions when their boxes are ticked.
    StoredOptions stored;
    if (!m_main) {
        logFailure(L"Preferences: not all could be read",
                   readStoredPrefs(m_services.settings, kAppTitle, stored));
        loadBrowsers();
    }
    const OptionControls& options = m_main ? m_main->behaviour->options() : stored;

    if (optionValue(options, kRunOnShutdownKey) == 1) {
        std::unique_ptr<CleanUpView> working = m_windows.createCleanUp();
        working->showOnTop();
        setWorkingWindow(working.get());
        runAutoClean([&](const std::wstring& text) { working->setAction(text); }, options);
        setWorkingWindow(nullptr);
        working->destroy();
    }
    if (m_main) {
        unloadMainWindow();
    } else {
        setAutostart(optionValue(stored, kAutoStartKey) == 1);
    }
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
        if (m_tickedRun) m_runStop.request_stop();
        runner().cancel();
    }
}

bool Program::stopOperationFor(const std::wstring& end) {
    if (m_services.dialogs.messageBox(L"Purgeon is still at work. Stop it now and " + end + L"?",
                                      kAppTitle, kMbOkCancel | kMbIconQuestion) != kIdOk) {
        return false;
    }
    m_log.write(L"Stopped to " + end + L".");
    m_runStop.request_stop();
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
