// The main window's behaviour: load, activation, close, tab switch, options and the Cache tab.
#include "app/main_window.h"

#include "app/app_text.h"
#include "app/program.h"

namespace purgeon {

FrmMain::FrmMain(Program& program) : m_program(program) {
    // Until the preferences are loaded every box is unticked and neither option button is set.
    for (Ctl box : {Ctl::chkautostart, Ctl::chkdelOnStart, Ctl::chkDelOnShutDown,
                    Ctl::Chkautoclearcookies, Ctl::ChkAutoClearCache, Ctl::ChkAutoClearHistory,
                    Ctl::chkEmptyRecycleBin, Ctl::chkdeltempfiles, Ctl::chkDelCachedPasswords,
                    Ctl::chkSecureForAll, Ctl::optQuick, Ctl::optDOD}) {
        m_values[box] = 0;
    }
}

void FrmMain::Form_Load() {
    m_view->setCaption(kAppTitle);
    selectTab(kTabGeneral);
    m_view->setText(Ctl::lblappname, std::wstring(kAppTitle) + L" " +
                                         versionText(m_program.services().appInfo.version()));
    m_view->setText(Ctl::lblproginfo, kProgInfo);
    m_view->setText(Ctl::lblurl, vendorUrl());
}

void FrmMain::Form_Activate() {
    m_view->repaint();
    m_view->splitCookieColumns();
    loadUserPrefs();
}

void FrmMain::Form_QueryUnload() {
    // Writing or removing the autostart value to match "Start up with windows" joins here with
    // the registry helpers.
}

void FrmMain::selectTab(int index) {
    m_view->selectTab(index);
    if (index == m_tab) return;
    const int previous = m_tab;
    m_tab = index;
    SSTab1_Click(previous);
}

void FrmMain::SSTab1_Click(int /*previousTab*/) {
    switch (m_tab) {
        case kTabCookies:
            loadCookiesList();
            break;
        case kTabCache:
            loadCacheContents();
            break;
        case kTabHistory:
            loadURLHistory();
            break;
        default:
            break;
    }
}

void FrmMain::cmdok_Click() {
    saveUserPrefs();
    m_program.unloadMainWindow();
}

void FrmMain::cmdHelp_Click() { m_program.services().shell.open(helpPageUrl()); }

void FrmMain::lblurl_Click() { m_program.services().shell.open(vendorUrl()); }

int FrmMain::value(Ctl control) const {
    auto found = m_values.find(control);
    return found == m_values.end() ? 0 : found->second;
}

void FrmMain::setValue(Ctl control, int value) {
    int& current = m_values[control];
    if (current == value) return;
    current = value;
    m_view->setValue(control, value);
    // The immediate actions of "Empty Recycle Bin" and "Clear Temporary files" hang here once the
    // temporary-folder and Recycle Bin cleaning is built.
}

void FrmMain::setStatusText(const std::wstring& text) {
    m_statusText = text;
    m_view->setStatusText(text);
}

void FrmMain::setBusy(bool busy) {
    m_busy = busy;
    m_view->setBusy(busy);
}

void FrmMain::loadUserPrefs() {
    // The stored preferences are not read yet: the option controls keep their values.
}

void FrmMain::saveUserPrefs() {
    // Nothing is stored yet: the preferences store is still to come.
}

void FrmMain::loadCookiesList() {
    // The cookie folder is not listed yet: the Cookies tab stays empty.
}

void FrmMain::loadURLHistory() {
    // The URL history store is not read yet: the Browser History tab stays empty.
}

void FrmMain::loadCacheContents() { GetCacheURLList(); }

void FrmMain::GetCacheURLList() {
    setBusy(true);
    m_cache.refill(m_program.services().urlCache);
    m_view->showCacheRows(m_cache);
    setBusy(false);
}

void FrmMain::deletecache() {
    setBusy(true);
    m_cache.deleteListed(m_program.services().urlCache, value(Ctl::chkDelCachedPasswords) == 1);
    GetCacheURLList();
    setBusy(false);
}

void FrmMain::invertsel() {
    m_cache.invertSelection();
    m_view->showCacheSelection(m_cache);
}

void FrmMain::cmdDelAllFromCache_Click() {
    setStatusText(L"Clearing cache...");
    deletecache();
    setStatusText(L"");
}

void FrmMain::cmdDelSelFromCache_Click() {
    m_cache.deleteCurrent(m_program.services().urlCache);
    GetCacheURLList();
}

void FrmMain::cmdinvertcachesel_Click() { invertsel(); }

void FrmMain::List1_Click(int row) {
    m_cache.click(row);
    m_view->showCacheSelection(m_cache);
}

}  // namespace purgeon
