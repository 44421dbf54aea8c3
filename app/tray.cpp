// The tray icon's mouse reactions and menu.
#include "app/tray.h"

#include "product/product.h"
#include "app/program.h"

namespace purgeon {

void FrmTray::Form_Load() { m_view->addIcon(kAppTitle); }

void FrmTray::Form_Unload() { m_view->removeIcon(); }

void FrmTray::TaskbarCreated() { m_view->addIcon(kAppTitle); }

void FrmTray::TrayMouseMessage(int message) {
    switch (message) {
        case kWmLButtonDown:
        case kWmRButtonUp:
            m_view->popupMenu();
            break;
        case kWmLButtonDblClk:
            m_program.showMainWindow();
            break;
        default:
            break;
    }
}

void FrmTray::mnushow_Click() { m_program.showMainWindow(); }

void FrmTray::mnuabout_Click() {
    m_program.showMainWindow();
    m_program.mainWindow()->selectTab(kTabAbout);
}

void FrmTray::mnuexit_Click() { m_program.exitSequence(); }

}  // namespace purgeon
