// The main window's controls report to the behaviour: each command and notification to its handler.
#include "app/win32/main_window_view.h"

namespace purgeon::win32 {

// A button whose click the behaviour handles as it is.
template <void (FrmMain::*Click)()>
void Win32MainWindowView::click(Ctl /*source*/) {
    (m_behaviour.*Click)();
}

struct Win32MainWindowView::Command {
    Ctl control;
    int code;  // the notification code the control sends
    void (Win32MainWindowView::*handler)(Ctl source);
};

const Win32MainWindowView::Command Win32MainWindowView::kCommands[] = {
    // General
    {Ctl::cmdCleanNow, BN_CLICKED, &Win32MainWindowView::click<&FrmMain::cmdCleanNow_Click>},
    {Ctl::chkautostart, BN_CLICKED, &Win32MainWindowView::checkBoxClicked},
    {Ctl::chkdelOnStart, BN_CLICKED, &Win32MainWindowView::checkBoxClicked},
    {Ctl::chkDelOnShutDown, BN_CLICKED, &Win32MainWindowView::checkBoxClicked},
    {Ctl::Chkautoclearcookies, BN_CLICKED, &Win32MainWindowView::checkBoxClicked},
    {Ctl::ChkAutoClearCache, BN_CLICKED, &Win32MainWindowView::checkBoxClicked},
    {Ctl::ChkAutoClearHistory, BN_CLICKED, &Win32MainWindowView::checkBoxClicked},
    {Ctl::chkEmptyRecycleBin, BN_CLICKED, &Win32MainWindowView::checkBoxClicked},
    {Ctl::chkdeltempfiles, BN_CLICKED, &Win32MainWindowView::checkBoxClicked},
    // Cookies
    {Ctl::cmdselectallcookies, BN_CLICKED,
     &Win32MainWindowView::click<&FrmMain::cmdselectallcookies_Click>},
    {Ctl::cmdselectnocookies, BN_CLICKED,
     &Win32MainWindowView::click<&FrmMain::cmdselectnocookies_Click>},
    {Ctl::cmdinvertcookiesselection, BN_CLICKED,
     &Win32MainWindowView::click<&FrmMain::cmdinvertcookiesselection_Click>},
    {Ctl::cmddelcookies, BN_CLICKED, &Win32MainWindowView::click<&FrmMain::cmddelcookies_Click>},
    {Ctl::lstKeepCookies, LBN_SELCHANGE, &Win32MainWindowView::keepListChanged},
    {Ctl::cmdKeepSite, BN_CLICKED, &Win32MainWindowView::click<&FrmMain::cmdKeepSite_Click>},
    {Ctl::cmdUnkeepSite, BN_CLICKED, &Win32MainWindowView::click<&FrmMain::cmdUnkeepSite_Click>},
    // Cache
    {Ctl::cmdDelSelFromCache, BN_CLICKED,
     &Win32MainWindowView::click<&FrmMain::cmdDelSelFromCache_Click>},
    {Ctl::cmdinvertcachesel, BN_CLICKED,
     &Win32MainWindowView::click<&FrmMain::cmdinvertcachesel_Click>},
    {Ctl::cmdDelAllFromCache, BN_CLICKED,
     &Win32MainWindowView::click<&FrmMain::cmdDelAllFromCache_Click>},
    {Ctl::chkDelCachedPasswords, BN_CLICKED, &Win32MainWindowView::checkBoxClicked},
    // Browser History
    {Ctl::cmdClearHistory, BN_CLICKED,
     &Win32MainWindowView::click<&FrmMain::cmdClearHistory_Click>},
    // Secure Wipe
    {Ctl::txtFolderToWipe, EN_CHANGE, &Win32MainWindowView::wipePathTyped},
    {Ctl::txtFolderToWipe, EN_SETFOCUS, &Win32MainWindowView::fieldFocusChanged},
    {Ctl::txtFolderToWipe, EN_KILLFOCUS, &Win32MainWindowView::fieldFocusChanged},
    {Ctl::cmdBrowseForFolder, BN_CLICKED,
     &Win32MainWindowView::click<&FrmMain::cmdBrowseForFolder_Click>},
    {Ctl::txtFileToWipe, EN_CHANGE, &Win32MainWindowView::wipePathTyped},
    {Ctl::txtFileToWipe, EN_SETFOCUS, &Win32MainWindowView::fieldFocusChanged},
    {Ctl::txtFileToWipe, EN_KILLFOCUS, &Win32MainWindowView::fieldFocusChanged},
    {Ctl::txtCookieDir, EN_SETFOCUS, &Win32MainWindowView::fieldFocusChanged},
    {Ctl::txtCookieDir, EN_KILLFOCUS, &Win32MainWindowView::fieldFocusChanged},
    {Ctl::cmdBrowseForFile, BN_CLICKED,
     &Win32MainWindowView::click<&FrmMain::cmdBrowseForFile_Click>},
    {Ctl::chkSecureForAll, BN_CLICKED, &Win32MainWindowView::checkBoxClicked},
    {Ctl::optQuick, BN_CLICKED, &Win32MainWindowView::optionClicked},
    {Ctl::optDOD, BN_CLICKED, &Win32MainWindowView::optionClicked},
    {Ctl::cmdWipe, BN_CLICKED, &Win32MainWindowView::click<&FrmMain::cmdWipe_Click>},
    {Ctl::cmdWipeFreeSpace, BN_CLICKED,
     &Win32MainWindowView::click<&FrmMain::cmdWipeFreeSpace_Click>},
    // About
    {Ctl::cmdcheckForUpdates, BN_CLICKED,
     &Win32MainWindowView::click<&FrmMain::cmdcheckForUpdates_Click>},
    {Ctl::cmdViewLog, BN_CLICKED, &Win32MainWindowView::click<&FrmMain::cmdViewLog_Click>},
    // Applications
    {Ctl::cmdPreviewApp, BN_CLICKED, &Win32MainWindowView::applicationsCommand},
    {Ctl::cmdCleanApps, BN_CLICKED, &Win32MainWindowView::applicationsCommand},
    {Ctl::cmdGetRules, BN_CLICKED, &Win32MainWindowView::applicationsCommand},
    {Ctl::chkAutoApps, BN_CLICKED, &Win32MainWindowView::applicationsCommand},

    {Ctl::cmdCancel, BN_CLICKED, &Win32MainWindowView::click<&FrmMain::cmdCancel_Click>},
    {Ctl::lblurl, STN_CLICKED, &Win32MainWindowView::click<&FrmMain::lblurl_Click>},

    {Ctl::cmdHelp, BN_CLICKED, &Win32MainWindowView::click<&FrmMain::cmdHelp_Click>},
    {Ctl::cmdok, BN_CLICKED, &Win32MainWindowView::click<&FrmMain::cmdok_Click>},
};

void Win32MainWindowView::onCommand(Ctl source, int code) {
    for (const Command& command : kCommands) {
        if (command.control == source && command.code == code) {
            (this->*command.handler)(source);
            return;
        }
    }
}

void Win32MainWindowView::checkBoxClicked(Ctl source) {
    m_behaviour.setValue(source, checkState(source));
}

// Either option button reports both: one was set and the other cleared.
void Win32MainWindowView::optionClicked(Ctl /*source*/) {
    const int quick = checkState(Ctl::optQuick);
    const int dod = checkState(Ctl::optDOD);
    m_behaviour.setValue(Ctl::optQuick, quick);
    m_behaviour.setValue(Ctl::optDOD, dod);
}

void Win32MainWindowView::keepListChanged(Ctl /*source*/) { m_browserLists.keepListChanged(); }

void Win32MainWindowView::applicationsCommand(Ctl source) {
    switch (source) {
        case Ctl::cmdPreviewApp:
            m_apps.previewClicked();
            break;
        case Ctl::cmdCleanApps:
            m_apps.cleanClicked();
            break;
        case Ctl::cmdGetRules:
            m_apps.getRulesClicked();
            break;
        default:
            m_apps.automaticClicked();
            break;
    }
}

void Win32MainWindowView::wipePathTyped(Ctl source) {
    if (m_settingText) return;  // shortened or restored to fit, not typed
    std::wstring typed = windowText(handleOf(source));
    m_wholeTexts[source] = typed;
    m_behaviour.textChanged(source, std::move(typed));
}

bool Win32MainWindowView::onNotify(NMHDR& header, LRESULT& result) {
    result = 0;
    if (header.hwndFrom == nullptr) return false;
    if (header.hwndFrom == handleOf(Ctl::SSTab1)) {
        if (header.code != TCN_SELCHANGE) return false;
        const int index = static_cast<int>(::SendMessageW(header.hwndFrom, TCM_GETCURSEL, 0, 0));
        guarded([&] { m_behaviour.selectTab(index); });
        return true;
    }
    return m_history.onNotify(header, result) || m_cache.onNotify(header, result) ||
           m_cookies.onNotify(header, result) || m_browserLists.onNotify(header) ||
           m_apps.onNotify(header, result);
}

}  // namespace purgeon::win32
