// The splash: version and publisher labels, and the start-up sequence it runs when activated.
#include "app/splash.h"

#include "app/app_text.h"
#include "app/program.h"
#include "product/product.h"

namespace purgeon {

void FrmSplash::Form_Load() {
    m_view->setText(Ctl::lblversion,
                    L"Version " + versionText(m_program.services().appInfo.version()));
    m_view->setText(Ctl::lblgeneral, kPublisherLine);
}

void FrmSplash::showAction(const std::wstring& text) {
    m_view->setText(Ctl::lblaction, text);
    m_view->repaint(Ctl::lblaction);
}

void FrmSplash::Form_Activate() {
    if (m_activated) return;  // a box shown during start-up re-activates the splash afterwards
    m_activated = true;
    m_program.startUpLoading();
    showAction(L"Loading preferences...");
    m_view->continueLater();
}

void FrmSplash::nextStep() {
    try {
        step();
    } catch (...) {
        // Start-up ends here; the tray answers as ever.
        m_program.startUpFailed();
        throw;
    }
}

void FrmSplash::step() {
    if (m_step == Step::mainWindow) {
        // The main window is made a part at a time.
        if (m_program.loadMainWindowPart()) m_step = Step::preferencesAndRun;
        m_view->continueLater();
        return;
    }
    FrmMain& main = m_program.loadMainWindow();
    main.loadUserPrefs();
    if (main.value(Ctl::chkautostart) == 1) m_program.setAutostart(true);
    // What the tray was asked for meanwhile runs now, before the run on start, as it would have
    // had start-up held the thread until here.
    m_program.startUpLoaded();

    // The lists are listed when their tab is first opened, off the window's thread; the run on
    // start lists what it cleans itself.
    FrmMain* shown = m_program.mainWindow();
    if (!m_program.exiting() && shown != nullptr && shown->value(Ctl::chkdelOnStart) == 1)
        m_program.runAutoClean([this](const std::wstring& text) { showAction(text); },
                               shown->options());

    m_program.unloadSplash();
}

}  // namespace purgeon
