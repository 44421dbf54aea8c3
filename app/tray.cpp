// The tray icon's mouse reactions and menu.
#include "app/tray.h"

#include "app/program.h"
#include "product/product.h"

namespace purgeon {

void FrmTray::Form_Load() { m_view->addIcon(kAppTitle); }

void FrmTray::Form_Unload() { m_view->removeIcon(); }

void FrmTray::TaskbarCreated() { m_view->addIcon(kAppTitle); }

void FrmTray::TrayMouseMessage(int message) {
    switch (message) {
        case kWmLButtonDown:
            m_view->startClickTimer();
            break;
        case kWmRButtonUp:
            m_view->popupMenu();
            break;
        case kWmLButtonDblClk:
            m_view->stopClickTimer();
            m_program.trayCommand([this] { m_program.showMainWindow(); });
            break;
        default:
            break;
    }
}

void FrmTray::clickTimeElapsed() {
    m_view->stopClickTimer();
    m_view->popupMenu();
}

void FrmTray::mnushow_Click() {
    m_program.trayCommand([this] { m_program.showMainWindow(); });
}

void FrmTray::mnuCleanNow_Click() {
    m_program.trayCommand([this] {
        // Shown, so that the progress, "&Cancel" and the boxes have their window.
        m_program.showMainWindow();
        if (FrmMain* main = m_program.mainWindow()) main->cmdCleanNow_Click();
    });
}

void FrmTray::mnuabout_Click() {
    m_program.trayCommand([this] {
        m_program.showMainWindow();
        m_program.mainWindow()->selectTab(kTabAbout);
    });
}

void FrmTray::mnuexit_Click() {
    m_program.trayCommand([this] { m_program.exitSequence(); });
}

}  // namespace purgeon
