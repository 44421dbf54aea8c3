// The main window's behaviour: load, activation, close, tabs, options and the other tabs' commands.
#include "app/main_window.h"

#include <algorithm>

#include "app/app_text.h"
#include "app/busy_scope.h"
#include "app/clean_summary.h"
#include "app/program.h"
#include "clean/clean_run.h"
#include "clean/recycle_bin_area.h"
#include "clean/temp_area.h"
#include "platform/scope_exit.h"
#include "prefs/registry_text.h"
#include "product/product.h"
#include "update/update_check.h"
#include "wipe/folder_guard.h"

namespace purgeon {

namespace {

// Where the settings keep each list's column widths.
constexpr std::pair<Ctl, const wchar_t*> kListColumnKeys[] = {
    {Ctl::lstcookies, kCookieColumnsKey},
    {Ctl::List1, kCacheColumnsKey},
    {Ctl::URLs, kHistoryColumnsKey},
};

// Each option's box, bound to the option by its stored key.
struct OptionBox {
    const wchar_t* key;
    Ctl box;
};
constexpr OptionBox kOptionBoxes[] = {
    {kAutoStartKey, Ctl::chkautostart},
    {kRunOnStartKey, Ctl::chkdelOnStart},
    {kRunOnShutdownKey, Ctl::chkDelOnShutDown},
    {kAutoCookiesKey, Ctl::Chkautoclearcookies},
    {kAutoCacheKey, Ctl::ChkAutoClearCache},
    {kAutoHistoryKey, Ctl::ChkAutoClearHistory},
    {kAutoRecycleBinKey, Ctl::chkEmptyRecycleBin},
    {kAutoTempKey, Ctl::chkdeltempfiles},
    {kCachedPasswordsKey, Ctl::chkDelCachedPasswords},
    {kSecureForAllKey, Ctl::chkSecureForAll},
};

const OptionBox* boxOf(std::wstring_view key) {
    for (const OptionBox& bound : kOptionBoxes)
        if (key == bound.key) return &bound;
    return nullptr;
}

}  // namespace

int FrmMain::Options::checkBox(std::wstring_view key) const {
    const OptionBox* bound = boxOf(key);
    return bound ? m_window.value(bound->box) : 0;
}

void FrmMain::Options::setCheckBox(std::wstring_view key, int value) {
    if (const OptionBox* bound = boxOf(key)) m_window.setValue(bound->box, value);
}

bool FrmMain::Options::quick() const { return m_window.value(Ctl::optQuick) != 0; }

void FrmMain::Options::setQuick(bool selected) {
    m_window.setValue(Ctl::optQuick, selected ? 1 : 0);
}

void FrmMain::Options::setDod(bool selected) { m_window.setValue(Ctl::optDOD, selected ? 1 : 0); }

FrmMain::FrmMain(Program& program) : m_program(program) {
    // Until the preferences are loaded every box is unticked and neither option button is set.
    for (const OptionBox& bound : kOptionBoxes) m_values[bound.box] = 0;
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
    Status read;
    const std::optional<WindowPlacement> placement =
        readWindowPlacement(m_program.services().settings, kAppTitle, read);
    m_program.logFailure(L"The window's place could not be read", read);
    if (placement) m_view->restorePlacement(*placement);
    for (const auto& [list, key] : kListColumnKeys) {
        const std::optional<std::vector<int>> widths =
            readColumnWidths(m_program.services().settings, kAppTitle, key, read);
        m_program.logFailure(L"The widths of a list's columns could not be read", read);
        if (!widths) continue;
        m_view->setColumnWidths(list, *widths);
        m_columnsKept.insert(list);
    }
}

void FrmMain::Form_Activate() {
    m_view->repaint();
    // The cookie and history lists' columns share their width once, unless the user's own
    // widths are kept.
    if (!m_columnsSplit) {
        for (const Ctl list : {Ctl::lstcookies, Ctl::URLs})
            if (!m_columnsKept.count(list)) m_view->splitColumns(list);
    }
    m_columnsSplit = true;
    loadUserPrefs();
}

void FrmMain::activated(ActivationSource source) {
    if (source == ActivationSource::shown || source == ActivationSource::ownWindow) Form_Activate();
}

void FrmMain::Form_QueryUnload() {
    // The window goes: nothing more is listed into it.
    stopListings();
    m_program.setAutostart(value(Ctl::chkautostart) == 1);
    m_program.logFailure(
        L"The window's place was not saved",
        writeWindowPlacement(m_program.services().settings, kAppTitle, m_view->placement()));
    for (const auto& [list, key] : kListColumnKeys) {
        const std::vector<int> widths = m_view->columnWidths(list);
        if (widths.empty()) continue;  // no list to measure
        m_program.logFailure(
            L"The widths of a list's columns were not saved",
            writeColumnWidths(m_program.services().settings, kAppTitle, key, widths));
    }
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
        case kTabApplications:
            applications().refresh();
            break;
        default:
            break;
    }
}

ApplicationsTab& FrmMain::applications() {
    if (!m_applications) {
        Services& s = m_program.services();
        m_applications = std::make_unique<ApplicationsTab>(
            m_program.cleanContext(m_options), s.dialogs, s.downloader, m_view->applicationsView(),
            m_program.createListingRunner(), [this] { showListingStatus(); });
    }
    return *m_applications;
}

void FrmMain::cmdok_Click() {
    saveUserPrefs();
    m_program.unloadMainWindow();
}

void FrmMain::cmdHelp_Click() {
    m_program.logFailure(L"The help page could not be opened",
                         m_program.services().shell.open(helpPageUrl()));
}

void FrmMain::lblurl_Click() {
    m_program.logFailure(L"The vendor's page could not be opened",
                         m_program.services().shell.open(vendorUrl()));
}

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

void FrmMain::loadUserPrefs() {
    const int recycleBin = value(Ctl::chkEmptyRecycleBin);
    const int temp = value(Ctl::chkdeltempfiles);
    {
        m_reactions = false;
        const ScopeExit restore([this] { m_reactions = true; });
        m_program.logFailure(L"Preferences: not all could be read",
                             readStoredPrefs(m_program.services().settings, kAppTitle, m_options));
    }
    {
        // The boxes changed by the load, not by the user's click.
        m_loadingPrefs = true;
        const ScopeExit restore([this] { m_loadingPrefs = false; });
        if (value(Ctl::chkEmptyRecycleBin) != recycleBin) chkEmptyRecycleBin_Click();
        if (value(Ctl::chkdeltempfiles) != temp) chkdeltempfiles_Click();
    }
    m_program.loadBrowsers();
    showBrowserChoices();
    showKeepList();
}

void FrmMain::saveUserPrefs() {
    Services& s = m_program.services();
    m_program.logFailure(L"Preferences: not saved",
                         writeStoredPrefs(s.settings, kAppTitle, m_options));
    m_program.logFailure(L"Browsers: the choices were not saved",
                         m_program.browsers().save(s.settings, kAppTitle));
}

void FrmMain::chkEmptyRecycleBin_Click() {
    if (value(Ctl::chkEmptyRecycleBin) != 1) return;
    cleanTicked(kRecycleBinArea, L"Emptying Recycle bin...", false);
}

void FrmMain::chkdeltempfiles_Click() {
    if (value(Ctl::chkdeltempfiles) != 1) return;
    cleanTicked(kTempArea, L"Deleting temp folder contents...", true);
}

void FrmMain::cleanTicked(const Area& area, const wchar_t* busyText, bool hourglass) {
    // A tick the stored preferences made cleans quietly; the log has it.
    const bool byUser = !m_loadingPrefs;
    CleanReport planned;
    CleanReport report;
    {
        BusyScope busy(*this, busyText, hourglass);
        if (byUser) planned.entries.push_back({&area, runArea(area, {}, true, CleanMode::preview)});
        report.entries.push_back({&area, runArea(area)});
    }
    if (!byUser) return;
    // Nothing was cleared: say why, naming the folder.
    if (const AreaResult& cleared = report.entries.front().result; cleared.refused) {
        m_program.services().dialogs.messageBox(tempRefusalText(*cleared.refused), kAppTitle,
                                                kMbOk | kMbIconExclamation);
        return;
    }
    tellSummary(report, planned);
}

AreaResult FrmMain::runArea(const Area& area, const ShownLists& shown, bool withBrowsers,
                            CleanMode mode) {
    CleanContext context = m_program.cleanContext(m_options);
    context.shown = shown;
    context.withBrowsers = withBrowsers;
    CleanRun run;
    run.areas = {&area};
    run.mode = mode;
    CleanReport report = runClean(context, run);
    return std::move(report.entries.front().result);
}

void FrmMain::tellSummary(const CleanReport& report, const CleanReport& planned) {
    if (m_program.mainWindow() != this) return;  // the window is to close: the log has it all
    const bool whole = std::all_of(
        report.entries.begin(), report.entries.end(), [](const CleanReport::Entry& entry) {
            return entry.result.ran && entry.result.done && entry.result.browsers.inUse.empty();
        });
    m_program.services().dialogs.messageBox(
        cleanSummary(report, planned), kAppTitle,
        kMbOk | (whole ? kMbIconInformation : kMbIconExclamation));
}

void FrmMain::tell(const std::wstring& text, unsigned style) {
    m_program.log().write(text);
    m_program.services().dialogs.messageBox(text, kAppTitle, style);
}

void FrmMain::cmdCancel_Click() { m_program.cancelOperation(); }

void FrmMain::cmdViewLog_Click() {
    RunLog& log = m_program.log();
    log.write(L"Log opened for viewing.");
    m_program.logFailure(L"The log could not be opened",
                         m_program.services().shell.openText(log.path()));
}

// Update check.

void FrmMain::cmdcheckForUpdates_Click() { checkForUpdates(); }

void FrmMain::checkForUpdates() {
    Services& s = m_program.services();
    UpdateServices update{s.dialogs, s.shell, s.downloader, s.urlCache, s.appInfo};
    const UpdateCheckResult result = purgeon::checkForUpdates(update);
    m_program.logFailure(L"Update check: the cached copy of the version file was not dropped",
                         result.cachedCopyDropped);
    m_program.logFailure(L"Update check: the version file could not be fetched",
                         result.versionFileFetched);
    m_program.logFailure(L"Update check: the download page could not be opened",
                         result.downloadPageOpened);
}

}  // namespace purgeon
