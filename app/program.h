// The program as a whole: its services, its windows and the state that lives for the whole run.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "clean/browser_areas.h"
#include "app/main_window.h"
#include "clean/operation.h"
#include "clean/run_log.h"
#include "app/splash.h"
#include "app/tray.h"
#include "areas/temp_folder.h"
#include "areas/url_history.h"
#include "platform/app_info.h"
#include "platform/date_text.h"
#include "platform/dialogs.h"
#include "platform/downloader.h"
#include "platform/files.h"
#include "platform/history_store.h"
#include "platform/instance_guard.h"
#include "platform/log_file.h"
#include "platform/pickers.h"
#include "platform/registry.h"
#include "platform/settings_store.h"
#include "platform/shell.h"
#include "platform/system_errors.h"
#include "platform/system_folders.h"
#include "platform/url_cache.h"
#include "platform/volumes.h"
#include "wipe/enum_files.h"
#include "wipe/free_space.h"

namespace purgeon {

// The platform operations the program uses, one interface per group.
struct Services {
    Dialogs& dialogs;
    Shell& shell;
    AppInfo& appInfo;
    InstanceGuard& instance;
    UrlCache& urlCache;
    Registry& registry;
    SystemErrors& errors;
    SettingsStore& settings;
    FileSystem& files;
    SystemFolders& folders;
    HistoryStoreFactory& history;
    DateText& dates;
    Downloader& downloader;
    LogFile& logFile;
    Pickers& pickers;
    Volumes& volumes;
};

// Creates the windows' views (each starts hidden) and talks to the message loop.
class WindowFactory {
public:
    virtual ~WindowFactory() = default;
    virtual std::unique_ptr<MainWindowView> createMainWindow(FrmMain& behaviour) = 0;
    virtual std::unique_ptr<SplashView> createSplash(FrmSplash& behaviour) = 0;
    virtual std::unique_ptr<TrayView> createTray(FrmTray& behaviour) = 0;
    virtual std::unique_ptr<CleanUpView> createCleanUp() = 0;
    // Ends the message loop once the current event returns.
    virtual void endProgram() = 0;
    // Lets the window system handle the messages waiting for the program, once.
    virtual void processMessages() = 0;
    // What runs the program's long operations: here, on the calling thread.
    virtual std::unique_ptr<OperationRunner> createRunner() {
        return std::make_unique<InlineRunner>();
    }
};

// "0x80004001": a result code as the system's documentation spells it.
std::wstring hresultText(long code);

// Where the automatic run writes each step's text: a label of the caller's window.
using StatusLabel = std::function<void(const std::wstring&)>;

class Program {
public:
    Program(Services& services, WindowFactory& windows);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // The entry procedure. False when another instance runs: the caller ends at once.
    bool Main();

    // Loads the main window without showing it, unless it is loaded already.
    FrmMain& loadMainWindow();
    void showMainWindow();
    // Runs Form_QueryUnload, then destroys the window and everything it holds.
    void unloadMainWindow();
    FrmMain* mainWindow() { return m_main ? m_main->behaviour.get() : nullptr; }

    void unloadSplash();
    bool splashLoaded() const { return m_splash != nullptr; }
    bool trayLoaded() const { return m_tray != nullptr; }
    FrmTray* tray() { return m_tray ? m_tray->behaviour.get() : nullptr; }

    // Cleans, in their fixed order, the areas ticked on the main window, each read when its step
    // comes, writing each step's text on the given label. Each area is listed afresh right before
    // it is cleaned, so what a browser added since the lists were filled goes too.
    void runAutoClean(const StatusLabel& label);

    // Runs long work off the window's thread while the windows keep answering; its progress shows
    // on the main window, on the "Working..." window while that shows, and in the tray's tip,
    // which names the activity. False when it did not start (another operation runs) or when it
    // was stopped because the window is to close or the program to end: the caller then tells
    // the user nothing more.
    bool runOperation(const std::wstring& activity, const OperationWork& work,
                      const ProgressView& view = {});
    bool operationRunning() const { return m_runner && m_runner->running(); }
    void cancelOperation();
    // The exit-time run's window, which shows the progress as well; null when none shows.
    void setWorkingWindow(CleanUpView* working) { m_working = working; }

    // Wipes the free space of the volume at root (ending in "\") on the worker, as runOperation
    // runs work, and writes what came of it to the log. The volume is recorded while the fill
    // runs, so that a start after an abrupt end finds what was left.
    bool wipeFreeSpace(const std::wstring& root, FreeSpaceResult& result);

    // The areas without a list of their own; each writes what it did to the log.
    TempClearing clearTempFolder();
    // False when the bins were not emptied.
    bool emptyRecycleBin();
    // False when the history store is missing or refused.
    bool clearHistory();
    // The ticked browsers' history, on the worker.
    BrowserClearing clearBrowserHistories();

    // The browser profiles, which are ticked, and the cookie keep list.
    BrowserAreas& browsers() { return m_browsers; }
    // Writes each profile's line to the log; after the user's own action, a box names the
    // browsers to close and what could not be removed.
    void reportBrowsers(const BrowserClearing& run, bool interactive);

    RunLog& log() { return m_log; }
    // Writes "what: <the system's words for the failure>" to the log; nothing for success.
    void logFailure(const std::wstring& what, const Status& status);
    // One such line per folder whose files a listing for the area did not reach.
    void logUnlisted(const std::wstring& area, const std::vector<UnlistedFolder>& unlisted);

    // Writes or removes the autostart value; a failure goes to the log.
    void setAutostart(bool enable);

    // The exit sequence of the tray menu's "Exit": asks, runs the exit-time cleaning when asked
    // for, unloads the windows and ends the program.
    void exitSequence();

    // Creates the history collection, reading the whole store; a store that is missing or
    // cannot be read leaves none, and a line in the log.
    void loadHistory();
    // The one history collection; null when the platform has no working history store.
    CURLHistory* history() { return m_history.get(); }

    Services& services() { return m_services; }
    FoundFileList& foundFiles() { return m_foundFiles; }

    // Lets the window system handle waiting messages; windows unloaded meanwhile are kept alive
    // until the outermost pump has returned.
    void processMessages();

    // Whether the cookie listing shows "index.dat"; cleared by the first cookie deletion.
    bool includeIndexDat = false;
    // Files in flight at once in the wipes and clearings (one keeps the listed order exactly).
    std::size_t flushThreads = kFlushThreads;
    // The start's sweep of fill files an abrupt end left runs off the window's thread (or, when
    // false, on it: the fakes serve one thread at a time).
    bool sweepOffThread = true;

private:
    template <typename Behaviour, typename View>
    struct Window {
        std::unique_ptr<Behaviour> behaviour;
        std::unique_ptr<View> view;

        // The behaviour, and its view made by createView, tied together; nothing is loaded yet.
        template <typename CreateView>
        static std::unique_ptr<Window> create(Program& program, CreateView createView) {
            auto window = std::make_unique<Window>();
            window->behaviour = std::make_unique<Behaviour>(program);
            window->view = createView(*window->behaviour);
            window->behaviour->attach(*window->view);
            return window;
        }
    };
    using MainWindow = Window<FrmMain, MainWindowView>;
    using Splash = Window<FrmSplash, SplashView>;
    using Tray = Window<FrmTray, TrayView>;

    // A window unloaded from inside one of its own events is destroyed at once but its objects
    // are kept until the next load, so the event can return through them safely.
    void releaseRetired();
    void unloadTray();
    OperationRunner& runner();
    // Asks whether to stop the running operation for the given end ("end Purgeon", "close the
    // window"); on yes, asks the work to stop.
    bool stopOperationFor(const std::wstring& end);
    // Everything of the exit after its question: the exit-time run, the unloads, the end.
    void finishExit();
    void showProgress(const std::wstring& activity, const OperationProgress& progress,
                      std::chrono::steady_clock::time_point started);
    // Starts the sweep of fill files that a free-space wipe ended abruptly left behind.
    void sweepFillLeftovers();

    Services& m_services;
    WindowFactory& m_windows;
    RunLog m_log;
    std::unique_ptr<MainWindow> m_main;
    std::unique_ptr<Splash> m_splash;
    std::unique_ptr<Tray> m_tray;
    std::unique_ptr<CURLHistory> m_history;
    BrowserAreas m_browsers;
    FoundFileList m_foundFiles{L""};
    std::vector<std::unique_ptr<MainWindow>> m_retiredMain;
    std::vector<std::unique_ptr<Splash>> m_retiredSplash;
    std::vector<std::unique_ptr<Tray>> m_retiredTray;
    int m_pumpDepth = 0;
    std::unique_ptr<OperationRunner> m_runner;
    CleanUpView* m_working = nullptr;
    bool m_exitPending = false;
    bool m_unloadPending = false;
    bool m_exiting = false;
    // The fill folders and their record are worked on by one job at a time: a fill, or the sweep.
    std::mutex m_fillFolders;
    // Last, so that it ends (asked to stop, then joined) before anything it uses.
    std::jthread m_sweep;
};

}  // namespace purgeon
