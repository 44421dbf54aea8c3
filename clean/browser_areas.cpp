// Which browser profiles are cleaned, the keep list, and the clears of their areas.
#include "clean/browser_areas.h"

#include <algorithm>

#include "browsers/browser_cache.h"
#include "browsers/browser_cookies.h"
#include "browsers/browser_history.h"
#include "browsers/profile_discovery.h"
#include "browsers/profile_lock.h"
#include "clean/failure_text.h"
#include "prefs/preferences.h"
#include "product/product.h"

namespace purgeon {

namespace {

// A stored value; one that is not there is empty, which is no failure.
Status readValue(SettingsStore& settings, const std::wstring& application, const wchar_t* key,
                 std::wstring& text) {
    text.clear();
    const Status read = settings.read(application, kSettingsSection, key, text);
    if (read.code == kErrorFileNotFound) return Status::success();
    if (!read) text.clear();
    return read;
}

std::wstring knownFolder(SystemFolders& folders, const wchar_t* name) {
    for (const KnownFolder& folder : folders.knownFolders())
        if (folder.name == name) return folder.path;
    return {};
}

std::wstring filesText(const FileRemoval& removal) {
    std::wstring text = std::to_wstring(removal.tally.wiped()) + L" file(s) removed";
    if (removal.tally.notWiped() > 0)
        text += L", " + std::to_wstring(removal.tally.notWiped()) + L" not (" +
                removal.tally.notWipedDetails() + L")";
    return text;
}

bool incompleteFiles(const FileRemoval& removal) {
    return removal.tally.notWiped() > removal.tally.count(ShredOutcome::gone) ||
           !removal.unlisted.empty();
}

// Runs the clear for each ticked profile that no running browser holds.
template <typename Clear>
BrowserClearing eachTicked(FileSystem& files, const std::vector<BrowserChoice>& choices,
                           const wchar_t* area, Clear clear) {
    BrowserClearing run;
    for (std::size_t index = 0; index < choices.size(); ++index) {
        const BrowserChoice& choice = choices[index];
        if (!choice.ticked) continue;
        const std::wstring title = std::wstring(area) + L": " + choice.profile.title();
        if (profileInUse(files, choice.profile)) {
            run.inUse.push_back(choice.profile);
            run.lines.push_back(title + L": skipped: the browser is running (" +
                                closeBrowserText(choice.profile) + L").");
            run.incomplete = true;
            continue;
        }
        std::wstring line;
        const bool cleared = clear(index, choice.profile, line, run.removed);
        run.lines.push_back(title + L": " + line);
        if (!cleared) {
            run.incomplete = true;
            run.failures.push_back(run.lines.back());
        }
    }
    return run;
}

std::wstring storeText(const StoreClearing& clearing, const wchar_t* what) {
    std::wstring text = std::to_wstring(clearing.removed) + L" " + what + L" removed";
    if (clearing.kept > 0) text += L", " + std::to_wstring(clearing.kept) + L" kept";
    if (!clearing.error.empty()) text += L"; not cleared: " + clearing.error;
    return text + L".";
}

}  // namespace

Status BrowserAreas::load(FileSystem& files, SystemFolders& folders, SettingsStore& settings,
                          const std::wstring& application) {
    const AppDataFolders appData{knownFolder(folders, kLocalAppDataName),
                                 knownFolder(folders, kRoamingAppDataName)};
    std::wstring unticked;
    std::wstring keep;
    Status first = readValue(settings, application, kUntickedBrowsersKey, unticked);
    const Status keepRead = readValue(settings, application, kKeepCookiesKey, keep);
    if (first) first = keepRead;
    const std::vector<std::wstring> off = splitStored(unticked);
    m_choices.clear();
    m_unlisted.clear();
    for (BrowserProfile& profile : discoverProfiles(files, appData, &m_unlisted)) {
        const bool ticked = std::find(off.begin(), off.end(), profile.key()) == off.end();
        m_choices.push_back({std::move(profile), ticked});
    }
    m_keep = CookieKeepList(keep);
    return first;
}

Status BrowserAreas::save(SettingsStore& settings, const std::wstring& application) const {
    // Unticked profiles that are not found now keep their place in the value.
    std::wstring stored;
    std::vector<std::wstring> off;
    if (!readValue(settings, application, kUntickedBrowsersKey, stored)) stored.clear();
    for (const std::wstring& key : splitStored(stored)) {
        const bool present = std::any_of(m_choices.begin(), m_choices.end(),
                                         [&](const auto& c) { return c.profile.key() == key; });
        if (!present) off.push_back(key);
    }
    for (const BrowserChoice& choice : m_choices)
        if (!choice.ticked) off.push_back(choice.profile.key());
    const Status ticks =
        settings.write(application, kSettingsSection, kUntickedBrowsersKey, joinStored(off));
    const Status kept =
        settings.write(application, kSettingsSection, kKeepCookiesKey, m_keep.stored());
    return ticks ? kept : ticks;
}

void loadBrowserChoices(BrowserAreas& browsers, FileSystem& files, SystemFolders& folders,
                        SettingsStore& settings, SystemErrors& errors, RunLog& log) {
    logFailure(log, errors, L"Browsers: the choices could not be read",
               browsers.load(files, folders, settings, kAppTitle));
    for (const std::wstring& line : unlistedLines(errors, L"Browsers", browsers.unlisted()))
        log.write(line);
}

bool BrowserAreas::anyTicked() const {
    return std::any_of(m_choices.begin(), m_choices.end(),
                       [](const BrowserChoice& choice) { return choice.ticked; });
}

void BrowserAreas::setTicked(std::size_t index, bool ticked) {
    if (index < m_choices.size()) m_choices[index].ticked = ticked;
}

BrowserClearing clearBrowserCookies(FileSystem& files, const std::vector<BrowserChoice>& choices,
                                    const CookieKeepList& keep,
                                    const std::vector<CookieRow>* selected) {
    return eachTicked(files, choices, L"Cookies",
                      [&](std::size_t index, const BrowserProfile& profile, std::wstring& line,
                          std::size_t& removed) {
                          std::vector<BrowserCookie> only;
                          if (selected) {
                              for (const CookieRow& row : *selected)
                                  if (row.fromBrowser() && row.profile == index)
                                      only.push_back(row.cookie);
                              if (only.empty()) {
                                  line = L"nothing selected.";
                                  return true;
                              }
                          }
                          const StoreClearing clearing = deleteBrowserCookies(
                              files, profile, keep, selected ? &only : nullptr);
                          line = storeText(clearing, L"cookie(s)");
                          removed += clearing.removed;
                          return clearing.error.empty();
                      });
}

BrowserClearing clearBrowserCaches(FileSystem& files, const std::vector<BrowserChoice>& choices,
                                   std::stop_token stop) {
    return eachTicked(
        files, choices, L"Cache",
        [&](std::size_t, const BrowserProfile& profile, std::wstring& line, std::size_t& removed) {
            const FileRemoval removal = clearBrowserCache(files, profile, stop);
            removed += removal.tally.wiped();
            line = filesText(removal) + L".";
            return !incompleteFiles(removal);
        });
}

BrowserClearing clearBrowserHistories(FileSystem& files, const std::vector<BrowserChoice>& choices,
                                      std::stop_token stop) {
    return eachTicked(
        files, choices, L"History",
        [&](std::size_t, const BrowserProfile& profile, std::wstring& line, std::size_t& removed) {
            const HistoryClearing clearing = clearBrowserHistory(files, profile, stop);
            removed += clearing.database.removed + clearing.files.tally.wiped();
            std::wstring text = storeText(clearing.database, L"page(s)");
            text.pop_back();
            line = text + L"; session files: " + filesText(clearing.files) + L".";
            return clearing.database.error.empty() && !incompleteFiles(clearing.files);
        });
}

BrowserClearing removeBrowserCacheRow(FileSystem& files, const std::vector<BrowserChoice>& choices,
                                      const BrowserCacheRow& row) {
    std::vector<BrowserChoice> only;
    if (row.profile < choices.size()) only.push_back({choices[row.profile].profile, true});
    return eachTicked(
        files, only, L"Cache",
        [&](std::size_t, const BrowserProfile&, std::wstring& line, std::size_t& removed) {
            const FileRemoval removal = removeCacheEntries(files, {row.entry});
            removed += removal.tally.wiped();
            line = filesText(removal) + L".";
            return !incompleteFiles(removal);
        });
}

std::wstring closeBrowsersText(const BrowserClearing& run) {
    std::vector<std::wstring> browsers;
    for (const BrowserProfile& profile : run.inUse)
        if (std::find(browsers.begin(), browsers.end(), profile.browser) == browsers.end())
            browsers.push_back(profile.browser);
    std::wstring text;
    for (const std::wstring& browser : browsers)
        text += (text.empty() ? L"" : L"\n") +
                closeBrowserText(BrowserProfile{browser, {}, {}, {}, {}, {}});
    return text;
}

}  // namespace purgeon
