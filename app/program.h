// The program as a whole: its services, its windows and the state that lives for the whole run.
#pragma once

#include <memory>
#include <vector>

#include "app/main_window.h"
#include "app/splash.h"
#include "platform/app_info.h"
#include "platform/dialogs.h"
#include "platform/shell.h"
#include "platform/url_cache.h"

namespace purgeon {

// The platform operations the program uses, one interface per group.
struct Services {
    Dialogs& dialogs;
    Shell& shell;
    AppInfo& appInfo;
    InstanceGuard& instance;
    UrlCache& urlCache;
};

// Creates the windows' views. A new view starts hidden.
class WindowFactory {
public:
    virtual ~WindowFactory() = default;
    virtual std::unique_ptr<MainWindowView> createMainWindow(FrmMain& behaviour) = 0;
    virtual std::unique_ptr<SplashView> createSplash(FrmSplash& behaviour) = 0;
};

class Program {
public:
    Program(Services& services, WindowFactory& windows);
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

    Services& services() { return m_services; }

    // Whether the cookie listing shows "index.dat"; cleared by the first cookie deletion.
    bool includeIndexDat = false;

private:
    template <typename Behaviour, typename View>
    struct Window {
        std::unique_ptr<Behaviour> behaviour;
        std::unique_ptr<View> view;
    };
    using MainWindow = Window<FrmMain, MainWindowView>;
    using Splash = Window<FrmSplash, SplashView>;

    // A window unloaded from inside one of its own events is destroyed at once but its objects
    // are kept until the next load, so the event can return through them safely.
    void releaseRetired();

    Services& m_services;
    WindowFactory& m_windows;
    std::unique_ptr<MainWindow> m_main;
    std::unique_ptr<Splash> m_splash;
    std::vector<std::unique_ptr<MainWindow>> m_retiredMain;
    std::vector<std::unique_ptr<Splash>> m_retiredSplash;
};

}  // namespace purgeon
