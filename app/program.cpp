// Start, window loading and unloading for the whole program.
#include "app/program.h"

#include "app/app_text.h"

namespace purgeon {

Program::Program(Services& services, WindowFactory& windows)
    : m_services(services), m_windows(windows) {}

bool Program::Main() {
    if (m_services.instance.previousInstanceRunning()) {
        m_services.dialogs.messageBox(std::wstring(kAppTitle) + L" is already running", kAppTitle,
                                      kMbOk | kMbIconInformation);
        return false;
    }
    includeIndexDat = true;
    // The tray window and its icon, and the URL-history object, join the start here once they
    // are built; until then these two steps do nothing.

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
}

void Program::unloadMainWindow() {
    if (!m_main) return;
    m_main->behaviour->Form_QueryUnload();
    m_main->view->destroy();
    m_retiredMain.push_back(std::move(m_main));
}

void Program::unloadSplash() {
    if (!m_splash) return;
    m_splash->view->destroy();
    m_retiredSplash.push_back(std::move(m_splash));
}

void Program::releaseRetired() {
    m_retiredMain.clear();
    m_retiredSplash.clear();
}

}  // namespace purgeon
