// Start, window loading and unloading, the automatic cleaning run and the exit sequence.
#include "app/program.h"
#include "platform/scope_exit.h"

#include "product/product.h"

#include <cstdio>
#include <cwchar>

namespace purgeon {

std::wstring hresultText(HResult code) {
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

    auto tray = std::make_unique<Tray>();
    tray->behaviour = std::make_unique<FrmTray>(*this);
    tray->view = m_windows.createTray(*tray->behaviour);
    tray->behaviour->attach(*tray->view);
    m_tray = std::move(tray);
    m_tray->behaviour->Form_Load();

    // Without a working history store (no such component, or one that cannot be read) the
    // program runs on: the history list stays empty and clearing it says it could not.
    try {
        m_history = std::make_unique<CURLHistory>(m_services.history);
    } catch (const HistoryError& error) {
        m_history.reset();
        m_log.write(L"History: no usable history store (" + hresultText(error.code()) + L").");
    }

    auto splash = std::make_unique<Splash>();
    splash->behaviour = std::make_unique<FrmSplash>(*this);
    splash->view = m_windows.createSplash(*splash->behaviour);
    splash->behaviour->attach(*splash->view);
    m_splash = std::move(splash);
    m_splash->behaviour->Form_Load();
    m_splash->view->show();
    return true;
}

FrmMain& Program::loadMainWindow() {
    if (!m_main) {
        releaseRetired();
        auto window = std::make_unique<MainWindow>();
        window->behaviour = std::make_unique<FrmMain>(*this);
        window->view = m_windows.createMainWindow(*window->behaviour);
        window->behaviour->attach(*window->view);
        m_main = std::move(window);
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

TempClearing Program::clearTempFolder() {
    TempClearing clearing = ClearTempFolder(m_services.files, m_services.folders, m_foundFiles);
    m_log.write(tempClearingSummary(clearing));
    return clearing;
}

void Program::emptyRecycleBin() {
    const Status emptied = m_services.shell.emptyRecycleBin();
    m_log.write(emptied ? std::wstring(L"Recycle Bin: emptied.")
                        : L"Recycle Bin: not emptied: " + m_services.errors.text(emptied.code));
}

bool Program::clearHistory() {
    if (!m_history) {
        m_log.write(L"History: not cleared: the system offers no history store.");
        return false;
    }
    try {
        m_history->Clear();
    } catch (const HistoryError& error) {
        m_log.write(L"History: not cleared: the store answered " + hresultText(error.code()) +
                    L".");
        return false;
    }
    m_log.write(L"History: cleared.");
    return true;
}

void Program::exitSequence() {
    if (m_services.dialogs.messageBox(L"Do you wish to end the application?", kAppTitle,
                                      kMbOkCancel) != kIdOk) {
        return;
    }
    // A window loaded afresh holds no options yet: it gets the stored ones, so that the exit run
    // and the autostart value follow them. The run itself performs the two immediate actions
    // when their boxes are ticked, so they do not run here as well.
    const bool wasLoaded = m_main != nullptr;
    FrmMain& main = loadMainWindow();
    if (!wasLoaded) main.loadUserPrefs(false);

    if (main.value(Ctl::chkDelOnShutDown) == 1) {
        std::unique_ptr<CleanUpView> working = m_windows.createCleanUp();
        working->showOnTop();
        runAutoClean([&](const std::wstring& text) { working->setAction(text); });
        working->destroy();
    }
    unloadMainWindow();
    unloadTray();
    m_windows.endProgram();
}

}  // namespace purgeon
