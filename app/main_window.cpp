// The main window's behaviour: load, activation, close, tabs, options and every tab's commands.
#include "app/main_window.h"

#include "app/app_text.h"
#include "app/program.h"
#include "areas/temp_folder.h"
#include "platform/scope_exit.h"
#include "prefs/registry_text.h"
#include "product/product.h"
#include "update/update_check.h"
#include "wipe/folder_guard.h"
#include "wipe/shred.h"
#include "wipe/wipe_report.h"
#include "wipe/wipe_target.h"

#include <optional>

namespace purgeon {

namespace {

// The check boxes in the order of the stored preferences.
constexpr Ctl kPreferenceBoxes[] = {Ctl::chkautostart,          Ctl::chkdelOnStart,
                                    Ctl::chkDelOnShutDown,      Ctl::Chkautoclearcookies,
                                    Ctl::ChkAutoClearCache,     Ctl::ChkAutoClearHistory,
                                    Ctl::chkEmptyRecycleBin,    Ctl::chkdeltempfiles,
                                    Ctl::chkDelCachedPasswords, Ctl::chkSecureForAll};
static_assert(std::size(kPreferenceBoxes) == kCheckBoxKeys.size());

// Shows an operation for as long as it runs: its status text, when it has one, and the hourglass,
// unless its steps show that themselves. Both are put back in the reverse order.
class BusyScope {
public:
    explicit BusyScope(FrmMain& window, std::optional<std::wstring> status = std::nullopt,
                       bool hourglass = true)
        : m_window(window), m_status(status.has_value()), m_hourglass(hourglass) {
        if (m_status) m_window.setStatusText(*status);
        if (m_hourglass) m_window.setBusy(true);
    }
    ~BusyScope() {
        if (m_hourglass) m_window.setBusy(false);
        if (m_status) m_window.setStatusText(L"");
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    FrmMain& m_window;
    bool m_status;
    bool m_hourglass;
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

void FrmMain::activated(ActivationSource source) {
    if (source == ActivationSource::shown || source == ActivationSource::ownWindow) Form_Activate();
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
    m_loadingPrefs = true;
    const ScopeExit restore([this] {
        m_reactions = true;
        m_loadingPrefs = false;
    });
    readStoredPrefs(m_program.services().settings, kAppTitle, options);
}

void FrmMain::saveUserPrefs() {
    Options options(*this);
    writeStoredPrefs(m_program.services().settings, kAppTitle, options);
}

void FrmMain::chkEmptyRecycleBin_Click() {
    if (value(Ctl::chkEmptyRecycleBin) != 1) return;
    BusyScope busy(*this, L"Emptying Recycle bin...", false);
    m_program.emptyRecycleBin();
}

void FrmMain::chkdeltempfiles_Click() {
    if (value(Ctl::chkdeltempfiles) != 1) return;
    const TempClearing clearing = [this] {
        BusyScope busy(*this, L"Deleting temp folder contents...");
        return m_program.clearTempFolder();
    }();
    // The user ticked the box and nothing was cleared: say why, naming the folder.
    if (!m_loadingPrefs && clearing.folderGiven && !clearing.check.allowed()) {
        m_program.services().dialogs.messageBox(L"The temporary folder " + clearing.check.folder +
                                                    L" was not cleared: " +
                                                    refusalReason(clearing.check) + L".",
                                                kAppTitle, kMbOk | kMbIconExclamation);
    }
}

void FrmMain::tell(const std::wstring& text, unsigned style) {
    m_program.log().write(text);
    m_program.services().dialogs.messageBox(text, kAppTitle, style);
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
    BusyScope busy(*this);
    CookieList listed;
    listed.load(m_program.services().files, folder, m_program.includeIndexDat,
                [this] { m_program.processMessages(); });
    m_cookies = std::move(listed);
    m_view->showCookieRows(m_cookies);
}

void FrmMain::deletecookies(bool interactive) {
    m_program.includeIndexDat = false;
    Services& s = m_program.services();
    if (interactive &&
        s.dialogs.messageBox(L"Are you sure you wish to delete the selected cookies?",
                             L"Delete Cookies", kMbYesNo | kMbIconQuestion) != kIdYes) {
        return;
    }
    if (m_cookies.rows().empty()) return;
    const FolderCheck check = checkFolder(s.files, s.folders, m_cookieFolder, FolderUse::cookies);
    if (!check.allowed()) {
        const std::wstring text = L"The cookie folder " + check.folder + L" was not cleaned: " +
                                  refusalReason(check) + L".";
        if (interactive) {
            tell(text, kMbOk | kMbIconExclamation);
        } else {
            m_program.log().write(L"Cookies: " + text);
        }
        return;
    }
    const CookieDeletion deletion = [&] {
        BusyScope busy(*this);
        const CookieDeletion done = m_cookies.deleteFiles(s.files, interactive);
        m_view->showCookieRows(m_cookies);
        return done;
    }();
    std::wstring line = L"Cookies: " + std::to_wstring(deletion.removed) + L" removed";
    if (deletion.failed > 0) line += L", " + std::to_wstring(deletion.failed) + L" still there";
    m_program.log().write(line + L" in " + check.folder + L".");
}

void FrmMain::cmddelcookies_Click() {
    BusyScope busy(*this, L"Deleting cookies...", false);
    deletecookies(true);
    loadCookiesList();
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
    BusyScope busy(*this);
    m_cache.refill(m_program.services().urlCache);
    m_view->showCacheRows(m_cache);
}

void FrmMain::deletecache() {
    const CacheDeletion deletion = [this] {
        BusyScope busy(*this);
        const CacheDeletion done = m_cache.deleteListed(m_program.services().urlCache,
                                                        value(Ctl::chkDelCachedPasswords) == 1);
        GetCacheURLList();
        return done;
    }();
    std::wstring line = L"Cache: " + std::to_wstring(deletion.removed) + L" entries removed";
    if (deletion.refused > 0) line += L", " + std::to_wstring(deletion.refused) + L" refused";
    m_program.log().write(line + L".");
}

void FrmMain::invertsel() {
    m_cache.invertSelection();
    m_view->showCacheSelection(m_cache);
}

void FrmMain::cmdDelAllFromCache_Click() {
    BusyScope busy(*this, L"Clearing cache...", false);
    deletecache();
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
        } catch (const HistoryError& error) {
            rows.clear();  // a store that cannot be read shows an empty list
            m_program.log().write(L"History: not listed: the store answered " +
                                  hresultText(error.code()) + L".");
        }
    }
    m_view->showHistoryRows(rows);
}

void FrmMain::cmdClearHistory_Click() {
    bool cleared = false;
    {
        BusyScope busy(*this, L"Clearing History...");
        cleared = m_program.clearHistory();
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
    m_program.services().pickers.openFile(L"All Files (*.*)|*.*", m_openFileName);
    if (!m_openFileName.empty()) setText(Ctl::txtFileToWipe, m_openFileName);
}

void FrmMain::cmdBrowseForFolder_Click() {
    Services& s = m_program.services();
    setText(Ctl::txtFolderToWipe,
            s.pickers.browseForFolder(s.appInfo.folder(), L"&Select folder to wipe"));
}

constexpr wchar_t kWipeWarning[] =
    L"Warning! this will wipe the specified files and delete them. Once this is done they cannot "
    L"be recovered";

void FrmMain::cmdWipe_Click() {
    const std::wstring warning = wipeWarning();
    if (warning.empty()) return;
    const int answer = m_program.services().dialogs.messageBox(warning, kAppTitle,
                                                               kMbOkCancel | kMbIconExclamation);
    if (answer == kIdOk) wipeOut();
}

std::wstring FrmMain::wipeWarning() {
    Services& s = m_program.services();
    std::wstring details;
    const std::wstring file = text(Ctl::txtFileToWipe);
    std::uint64_t fileBytes = 0;
    if (!file.empty() && s.files.fileSize(file, fileBytes) == 0 && fileBytes > 0)
        details += L"\r\nFile: " + file + L" (" + sizeText(fileBytes) + L")";

    const std::wstring folder = text(Ctl::txtFolderToWipe);
    if (!folder.empty()) {
        const FolderCheck check = checkFolder(s.files, s.folders, folder, FolderUse::wipe);
        if (!check.allowed()) {
            tell(check.folder + L" cannot be wiped: " + refusalReason(check) + L".",
                 kMbOk | kMbIconExclamation);
            return {};
        }
        // Counted before asking, so the user knows what the answer means.
        FoundFileList found;
        std::uint64_t bytes = 0;
        EnumFiles(s.files, check.folder, found, &bytes);
        details += L"\r\nFolder: " + check.folder + L": " + std::to_wstring(found.size() - 1) +
                   L" file(s), " + sizeText(bytes);
    }
    return details.empty() ? std::wstring(kWipeWarning)
                           : std::wstring(kWipeWarning) + L"\r\n" + details;
}

void FrmMain::wipeOut() {
    const int passes = value(Ctl::optQuick) ? 3 : 7;
    wipeNamedFile(passes);
    wipeNamedFolder(passes);
}

void FrmMain::wipeNamedFile(int passes) {
    Services& s = m_program.services();
    const std::wstring file = text(Ctl::txtFileToWipe);
    if (file.empty() || !FileExists(s.files, s.errors, s.dialogs, file)) return;

    // The file must be what its folder holds under that name: a link swapped in is not followed.
    const ShredResult result = [&] {
        BusyScope busy(*this);
        return ShredFile(s.files, file, {passes, true, {}});
    }();
    const std::wstring why =
        result.status.ok() ? std::wstring() : s.errors.text(result.status.code);
    const bool wiped = result.outcome == ShredOutcome::wiped;
    tell(fileWipeMessage(fileNameOf(file), result, why),
         kMbOk | (wiped ? kMbIconInformation : kMbIconExclamation));
}

void FrmMain::wipeNamedFolder(int passes) {
    Services& s = m_program.services();
    const std::wstring folder = text(Ctl::txtFolderToWipe);
    if (folder.empty()) return;
    const FolderCheck check = checkFolder(s.files, s.folders, folder, FolderUse::wipe);
    if (!check.allowed()) {
        tell(check.folder + L" cannot be wiped: " + refusalReason(check) + L".",
             kMbOk | kMbIconExclamation);
        return;
    }
    WipeTally tally;
    {
        BusyScope busy(*this);
        FoundFileList& found = m_program.foundFiles();
        resetFoundFiles(found);
        EnumFiles(s.files, check.folder, found);
        const size_t count = found.size() - 1;
        for (size_t i = 1; i <= count; ++i) {
            BusyScope step(*this, L"Currently wiping" + found[i], false);
            tally.add(ShredFile(s.files, found[i], {passes, true, found[i]}).outcome);
        }
    }
    m_program.log().write(L"Wipe of " + check.folder + L":");
    tell(folderWipeMessage(tally),
         kMbOk | (tally.notWiped() == 0 ? kMbIconInformation : kMbIconExclamation));
}

void FrmMain::cmdViewLog_Click() {
    RunLog& log = m_program.log();
    log.write(L"Log opened for viewing.");
    if (const Status opened = m_program.services().shell.openText(log.path()); !opened)
        log.write(L"The log could not be opened: " + m_program.services().errors.text(opened.code));
}

// Update check.

void FrmMain::cmdcheckForUpdates_Click() { checkForUpdates(); }

void FrmMain::checkForUpdates() {
    Services& s = m_program.services();
    UpdateServices update{s.dialogs, s.shell, s.downloader, s.urlCache, s.appInfo};
    purgeon::checkForUpdates(update);
}

}  // namespace purgeon
