// The program as a whole: its services, its windows and the state that lives for the whole run.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/listing.h"
#include "app/main_window.h"
#include "app/splash.h"
#include "app/tray.h"
#include "clean/browser_areas.h"
#include "clean/clean_context.h"
#include "clean/clean_run.h"
#include "clean/clean_services.h"
#include "clean/operation.h"
#include "clean/run_log.h"
#include "platform/collation.h"
#include "platform/date_text.h"
#include "platform/dialogs.h"
#include "platform/downloader.h"
#include "platform/instance_guard.h"
#include "platform/pickers.h"
#include "wipe/free_space.h"

namespace purgeon {

struct AppRules;
struct WindowsItems;
class TraceSystem;
class WindowsTraces;

// The platform operations the program uses, one interface per group: the cleaning engine's, and
// those only the windows need.
struct Services : CleanServices {
    Dialogs& dialogs;
    InstanceGuard& instance;
    DateText& dates;
    Downloader& downloader;
    Pickers& pickers;
    Collation& collation;
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
    // What lists a tab's rows: here, on the calling thread.
    virtual std::unique_ptr<ListingRunner> createListingRunner() {
        return std::make_unique<InlineListing>();
    }
};

// Where the automatic run writes each step's text: a label of the caller's window.
using StatusLabel = std::function<void(const std::wstring&)>;

class Program : public OperationHost {
public:
    Program(Services& services, WindowFactory& windows);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // The entry procedure. False when another instance runs: the caller ends at once.
    bool Main();

    // Loads the main window without showing it, unless it is loaded already.
    FrmMain& loadMainWindow();
    // The same, one part of the window at a time, so that the program answers between the parts
    // (start-up loads it so): true once it is loaded.
    bool loadMainWindowPart();
    void showMainWindow();
    // Runs Form_QueryUnload, then destroys the window and everything it holds.
    void unloadMainWindow();
    FrmMain* mainWindow() { return m_main ? m_main->behaviour.get() : nullptr; }

    void unloadSplash();
    // While start-up loads the main window and its preferences (from startUpLoading until
    // startUpLoaded), what the tray is asked for waits; then it runs, in the order asked. After a
    // start-up that failed nothing waits any more, and what did is dropped.
    void startUpLoading() { m_startingUp = true; }
    void startUpLoaded();
    void startUpFailed();
    // Runs a command of the tray's now, or once start-up has loaded the main window and its
    // preferences.
    void trayCommand(std::function<void()> command);
    // The exit sequence is under way: the program ends once the current event returns.
    bool exiting() const { return m_exiting; }
    bool splashLoaded() const { return m_splash != nullptr; }
    bool trayLoaded() const { return m_tray != nullptr; }
    FrmTray* tray() { return m_tray ? m_tray->behaviour.get() : nullptr; }

    // A context for a run on the program's behalf: its services, log, state and browsers, its
    // operations, the options given, and what a box would say shown in one.
    CleanContext cleanContext(const OptionControls& options);

    // The automatic run: cleans, in the table's order, the areas whose options are ticked (each
    // read when its step comes), each with the ticked browsers' own, writing each step's text on
    // the given label. With the main window loaded the run acts on what its lists show, each
    // listed afresh right before it is cleaned, so what a browser added since goes too; without
    // it each area lists itself.
    void runAutoClean(const StatusLabel& label, const OptionControls& options);
    // The same run over the same areas, ticked as the options say, as a preview (nothing is
    // removed) or a clean, and what came of it. Cancel stops such a run: it takes no further area.
    CleanReport runTicked(CleanMode mode, const StatusLabel& label, const OptionControls& options);

    // Runs long work off the window's thread while the windows keep answering; its progress shows
    // on the main window, on the "Working..." window while that shows, and in the tray's tip,
    // which names the activity. False when it did not start (another operation runs) or when it
    // was stopped because the window is to close or the program to end: the caller then tells
    // the user nothing more; a running automatic run then takes no further area.
    bool runOperation(const std::wstring& activity, const OperationWork& work,
                      const ProgressView& view = {}) override;
    // A runner for one of the tabs' listings.
    std::unique_ptr<ListingRunner> createListingRunner() { return m_windows.createListingRunner(); }
    bool operationRunning() const { return m_runner && m_runner->running(); }
    void cancelOperation();
    // The exit-time run's window, which shows the progress as well; null when none shows.
    void setWorkingWindow(CleanUpView* working) { m_working = working; }

    // Wipes the free space of the volume at root (ending in "\") on the worker, as runOperation
    // runs work, and writes what came of it to the log. The volume is recorded while the fill
    // runs, so that a start after an abrupt end finds what was left.
    bool wipeFreeSpace(const std::wstring& root, FreeSpaceResult& result);

    // The browser profiles, which are ticked, and the cookie keep list.
    BrowserAreas& browsers() { return m_browsers; }
    // Finds the browser profiles afresh and reads their ticks and the keep list.
    void loadBrowsers();

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

    Services& services() { return m_services; }
    // Reads other applications' rule file through traces: each automatic run reads it afresh and
    // takes its ticked entries when "Clean applications automatically" is stored. With
    // windowsTraces, the Windows items too: each automatic run takes the ticked ones.
    void useTraces(TraceSystem& traces, WindowsTraces* windowsTraces = nullptr);
    AppRules* appRules() { return m_apps.get(); }
    // What the runs share: the cookie listing's "index.dat" rule, the files in flight at once, the
    // files found, the history collection.
    CleanState& state() { return m_state; }

    // Lets the window system handle waiting messages; windows unloaded meanwhile are kept alive
    // until the outermost pump has returned.
    void processMessages();

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
    CleanState m_state;
    std::unique_ptr<AppRules> m_apps;
    std::unique_ptr<WindowsItems> m_windowsItems;
    std::unique_ptr<MainWindow> m_main;
    std::unique_ptr<MainWindow> m_mainInMaking;  // made a part at a time, not yet loaded
    std::unique_ptr<Splash> m_splash;
    std::unique_ptr<Tray> m_tray;
    BrowserAreas m_browsers;
    std::vector<std::unique_ptr<MainWindow>> m_retiredMain;
    std::vector<std::unique_ptr<Splash>> m_retiredSplash;
    std::vector<std::unique_ptr<Tray>> m_retiredTray;
    int m_pumpDepth = 0;
    std::unique_ptr<OperationRunner> m_runner;
    CleanUpView* m_working = nullptr;
    bool m_exitPending = false;
    bool m_unloadPending = false;
    bool m_exiting = false;
    bool m_startingUp = false;
    std::vector<std::function<void()>> m_waitingCommands;
    // Asked to stop when the window is to close or the program to end: the running automatic run
    // takes no further area.
    std::stop_source m_runStop;
    bool m_tickedRun = false;  // a run of runTicked is under way
    // The fill folders and their record are worked on by one job at a time: a fill, or the sweep.
    std::mutex m_fillFolders;
    // Last, so that it ends (asked to stop, then joined) before anything it uses.
    std::jthread m_sweep;
};

}  // namespace purgeon
