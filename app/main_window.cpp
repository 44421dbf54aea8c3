// The main window's behaviour: load, activation, close, tabs, options and every tab's commands.
#include "app/main_window.h"

#include "app/app_text.h"
#include "app/program.h"
#include "areas/temp_folder.h"
#include "prefs/registry_text.h"
#include "update/update_check.h"
#include "wipe/shred.h"
#include "wipe/wipe_target.h"

namespace purgeon {

namespace {

// The check boxes in the order of the stored preferences.
constexpr Ctl kPreferenceBoxes[] = {Ctl::chkautostart,          Ctl::chkdelOnStart,
                                    Ctl::chkDelOnShutDown,      Ctl::Chkautoclearcookies,
                                    Ctl::ChkAutoClearCache,     Ctl::ChkAutoClearHistory,
                                    Ctl::chkEmptyRecycleBin,    Ctl::chkdeltempfiles,
                                    Ctl::chkDelCachedPasswords, Ctl::chkSecureForAll};
static_assert(std::size(kPreferenceBoxes) == kCheckBoxKeys.size());

// Sets the status text and the hourglass for the length of an operation.
class BusyScope {
public:
    BusyScope(FrmMain& window, const std::wstring& status) : m_window(window) {
        m_window.setStatusText(status);
        m_window.setBusy(true);
    }
    ~BusyScope() {
        m_window.setStatusText(L"");
        m_window.setBusy(false);
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    FrmMain& m_window;
};

}  // namespace

// The window's option controls as the preferences store sees them.
class FrmMain::Options : public OptionControls {
public:
    explicit Options(FrmMain& window) : m_window(window) {}
    int checkBox(size_t row) const override { return m_window.value(kPreferenceBoxes[row]); }
    void setCheckBox(size_t row, int value) override {
        m_window.setValue(kPreferenceBoxes[row], value);
    }
    bool quick() const override { return m_window.value(Ctl::optQuick) != 0; }
    void setQuick(bool selected) override { m_window.setValue(Ctl::optQuick, selected ? 1 : 0); }
    void setDod(bool selected) override { m_window.setValue(Ctl::optDOD, selected ? 1 : 0); }

private:
    FrmMain& m_window;
};

FrmMain::FrmMain(Program& program) : m_program(program) {
    // Until the preferences are loaded every box is unticked and neither option button is set.
    for (Ctl box : kPreferenceBoxes) m_values[box] = 0;
    m_values[Ctl::optQuick] = 0;
    m_values[Ctl::optDOD] = 0;
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
    Services& s = m_program.services();
    SetAutostart(s.registry, s.appInfo, value(Ctl::chkautostart) == 1);
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
    if (!m_reactions) return;
    if (control == Ctl::chkEmptyRecycleBin) chkEmptyRecycleBin_Click();
    if (control == Ctl::chkdeltempfiles) chkdeltempfiles_Click();
}

void FrmMain::setText(Ctl control, const std::wstring& text) {
    m_texts[control] = text;
    m_view->setText(control, text);
}

std::wstring FrmMain::text(Ctl control) const {
    auto found = m_texts.find(control);
    return found == m_texts.end() ? std::wstring() : found->second;
}

void FrmMain::setStatusText(const std::wstring& text) {
    m_statusText = text;
    m_view->setStatusText(text);
}

void FrmMain::setBusy(bool busy) {
    m_busy = busy;
    m_view->setBusy(busy);
}

// Preferences.

void FrmMain::loadUserPrefs(bool runReactions) {
    Options options(*this);
    m_reactions = runReactions;
    try {
        purgeon::loadUserPrefs(m_program.services().settings, kAppTitle, options);
    } catch (...) {
        m_reactions = true;
        throw;
    }
    m_reactions = true;
}

void FrmMain::saveUserPrefs() {
    Options options(*this);
    purgeon::saveUserPrefs(m_program.services().settings, kAppTitle, options);
}

void FrmMain::chkEmptyRecycleBin_Click() {
    if (value(Ctl::chkEmptyRecycleBin) != 1) return;
    setStatusText(L"Emptying Recycle bin...");
    m_program.services().shell.emptyRecycleBin();
    setStatusText(L"");
}

void FrmMain::chkdeltempfiles_Click() {
    if (value(Ctl::chkdeltempfiles) != 1) return;
    setStatusText(L"Deleting temp folder contents...");
    setBusy(true);
    Services& s = m_program.services();
    ClearTempFolder(s.files, s.folders, m_program.foundFiles());
    setBusy(false);
    setStatusText(L"");
}

// Cookies.

void FrmMain::loadCookiesList() {
    m_cookies = CookieList();
    m_view->showCookieRows(m_cookies);
    Services& s = m_program.services();
    m_cookieFolder =
        GetRegistryValue(s.registry, s.errors, s.dialogs, kShellFoldersKey, L"Cookies");
    setText(Ctl::txtCookieDir, m_cookieFolder);
    EnumCookies(m_cookieFolder);
}

void FrmMain::EnumCookies(const std::wstring& folder) {
    setBusy(true);
    CookieList listed;
    listed.load(m_program.services().files, folder, m_program.includeIndexDat,
                [this] { m_program.processMessages(); });
    m_cookies = std::move(listed);
    m_view->showCookieRows(m_cookies);
    setBusy(false);
}

void FrmMain::deletecookies(bool interactive) {
    m_program.includeIndexDat = false;
    if (interactive && m_program.services().dialogs.messageBox(
                           L"Are you sure you wish to delete the selected cookies?",
                           L"Delete Cookies", kMbYesNo | kMbIconQuestion) != kIdYes) {
        return;
    }
    setBusy(true);
    m_cookies.deleteFiles(m_program.services().files, interactive);
    m_view->showCookieRows(m_cookies);
    setBusy(false);
}

void FrmMain::cmddelcookies_Click() {
    setStatusText(L"Deleting cookies...");
    deletecookies(true);
    loadCookiesList();
    setStatusText(L"");
}

void FrmMain::cmdselectallcookies_Click() {
    m_cookies.selectAll();
    m_view->showCookieSelection(m_cookies);
    m_view->focus(Ctl::lstcookies);
}

void FrmMain::cmdselectnocookies_Click() {
    m_cookies.selectNone();
    m_view->showCookieSelection(m_cookies);
}

void FrmMain::cmdinvertcookiesselection_Click() {
    m_cookies.invertSelection();
    m_view->showCookieSelection(m_cookies);
    m_view->focus(Ctl::lstcookies);
}

void FrmMain::lstcookies_ItemSelected(int row, bool selected) {
    if (row >= 0) m_cookies.setSelected(static_cast<size_t>(row), selected);
}

// Cache.

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

// Browser history.

void FrmMain::loadURLHistory() {
    std::vector<HistoryRow> rows;
    if (CURLHistory* history = m_program.history()) {
        try {
            history->Refresh();
            rows = historyRows(*history, m_program.services().dates);
        } catch (const HistoryError&) {
            rows.clear();  // a store that cannot be read shows an empty list
        }
    }
    m_view->showHistoryRows(rows);
}

void FrmMain::cmdClearHistory_Click() {
    bool cleared = false;
    {
        BusyScope busy(*this, L"Clearing History...");
        if (CURLHistory* history = m_program.history()) {
            try {
                history->Clear();
                cleared = true;
            } catch (const HistoryError&) {
                cleared = false;
            }
        }
    }
    if (!cleared) {
        m_program.services().dialogs.messageBox(L"The visited URL history could not be cleared.",
                                                kAppTitle, kMbOk | kMbIconExclamation);
    }
}

void FrmMain::URLs_ColumnClick(int column) {
    m_historySortKey = column - 1;
    m_view->setHistorySortKey(m_historySortKey);
}

// Secure wipe.

void FrmMain::cmdBrowseForFile_Click() {
    m_view->showOpenDialog(L"All Files (*.*)|*.*", m_openFileName);
    if (!m_openFileName.empty()) setText(Ctl::txtFileToWipe, m_openFileName);
}

void FrmMain::cmdBrowseForFolder_Click() {
    setText(Ctl::txtFolderToWipe, m_view->browseForFolder(m_program.services().appInfo.folder(),
                                                          L"&Select folder to wipe"));
}

void FrmMain::cmdWipe_Click() {
    const int answer = m_program.services().dialogs.messageBox(
        L"Warning! this will wipe the specified files and delete them. Once this is done they "
        L"cannot be recovered",
        kAppTitle, kMbOkCancel | kMbIconExclamation);
    if (answer == kIdOk) wipeOut();
}

void FrmMain::wipeOut() {
    Services& s = m_program.services();
    const int passes = value(Ctl::optQuick) ? 3 : 7;

    const std::wstring file = text(Ctl::txtFileToWipe);
    if (!file.empty() && FileExists(s.files, s.errors, s.dialogs, file)) {
        setBusy(true);
        ShredFile(s.files, file, passes);
        setBusy(false);
        s.dialogs.messageBox(fileNameOf(file) + L" wiped", kAppTitle, kMbOk | kMbIconInformation);
    }

    const std::wstring folder = text(Ctl::txtFolderToWipe);
    if (!folder.empty()) {
        setBusy(true);
        FoundFileList& found = m_program.foundFiles();
        resetFoundFiles(found);
        EnumFiles(s.files, folder, found);
        const size_t count = found.size() - 1;
        for (size_t i = 1; i <= count; ++i) {
            setStatusText(L"Currently wiping" + found[i]);
            ShredFile(s.files, found[i], passes);
            setStatusText(L"");
        }
        setBusy(false);
        s.dialogs.messageBox(std::to_wstring(count) + L"File(s) wiped", kAppTitle,
                             kMbOk | kMbIconInformation);
    }
}

// Update check.

void FrmMain::cmdcheckForUpdates_Click() { checkForUpdates(); }

void FrmMain::checkForUpdates() {
    Services& s = m_program.services();
    UpdateServices update{s.dialogs, s.shell, s.downloader, s.files, s.urlCache, s.appInfo};
    purgeon::checkForUpdates(update);
}

}  // namespace purgeon
