// The Applications tab's behaviour.
#include "app/applications_tab.h"

#include <algorithm>
#include <functional>
#include <string_view>

#include "app/clean_summary.h"
#include "app/windows_group.h"
#include "clean/clean_run.h"
#include "clean/failure_text.h"
#include "prefs/preferences.h"
#include "product/product.h"
#include "rules/rule_scope.h"
#include "rules/rule_targets.h"
#include "wipe/wipe_report.h"

namespace purgeon {

namespace {

// Detected entries handed to the window's thread at a time.
constexpr std::size_t kBatch = 8;
// The preview names at most this many files and registry items.
constexpr std::size_t kPreviewLines = 25;

std::uint64_t contentKey(const std::string& bytes) {
    return std::hash<std::string_view>{}(bytes) ^ (static_cast<std::uint64_t>(bytes.size()) << 1);
}

std::wstring counted(std::size_t count, const wchar_t* one, const wchar_t* many) {
    return std::to_wstring(count) + L" " + (count == 1 ? one : many);
}

}  // namespace

// What the listing found of the rule file, handed to the window's thread before the entries.
struct ApplicationsTab::RuleRead {
    std::wstring file;
    Status status;
    bool found = false;
    std::shared_ptr<const RuleBook> book;
    std::uint64_t key = 0;
    bool parsed = false;  // read afresh: its content changed
};

ApplicationsTab::ApplicationsTab(CleanContext context, Dialogs& dialogs, Downloader& downloader,
                                 ApplicationsView& view, std::unique_ptr<ListingRunner> listing,
                                 std::function<void()> listingChanged)
    : m_context(std::move(context)),
      m_dialogs(dialogs),
      m_downloader(downloader),
      m_view(view),
      m_listingChanged(std::move(listingChanged)),
      m_windows(std::make_unique<WindowsGroup>(m_context, dialogs)),
      m_listing(std::move(listing)) {}

ApplicationsTab::~ApplicationsTab() { m_listing->stop(); }

void ApplicationsTab::stopListing() {
    m_listing->stop();
    if (m_listingChanged) m_listingChanged();
}

void ApplicationsTab::refresh() {
    m_listing->stop();
    m_apps.clear();
    m_rows.clear();
    m_windows->reset();
    m_listed = false;
    m_view.showRows(m_rows);
    SettingsStore& settings = m_context.services.settings;
    std::wstring text;
    const Status read = settings.read(kAppTitle, kSettingsSection, kAppsKey, text);
    if (!read && read.code != kErrorFileNotFound)
        logFailure(m_context.log, m_context.services.errors,
                   L"Applications: the ticked entries could not be read", read);
    m_ticked = read ? namesFromText(text) : std::vector<std::wstring>{};
    m_view.showAutomatic(autoAppsStored(settings));

    AppRules* rules = m_context.state.apps;
    WindowsItems* windows = m_windows->items();
    if (rules == nullptr) {
        m_file.clear();
        m_found = false;
        showRuleText();
        if (windows == nullptr) return;
    }
    CleanServices& services = m_context.services;
    FileSystem& files = services.files;
    SystemFolders& folders = services.folders;
    TraceSystem* system = rules == nullptr ? nullptr : &rules->system;
    std::vector<BrowserProfile> profiles;
    for (const BrowserChoice& choice : m_context.browsers.choices())
        profiles.push_back(choice.profile);
    m_listing->start(
        [this, &services, &files, &folders, windows, system, profiles = std::move(profiles),
         book = m_book, key = m_key](std::stop_token stop, const ListingHand& hand) {
            // The Windows group first: it is there with a rule file or without one.
            if (windows != nullptr) {
                auto items = std::make_shared<std::vector<DetectedApp>>(
                    WindowsGroup::list(services, *windows, stop));
                hand([this, items] {
                    m_windows->listed(std::move(*items));
                    showAllRows();
                });
            }
            if (system == nullptr) return;
            auto read = std::make_shared<RuleRead>();
            read->file = ruleFilePath(*system);
            std::string bytes;
            if (!read->file.empty()) read->status = files.readFile(read->file, bytes);
            read->found = !read->file.empty() && read->status;
            if (read->found) {
                read->key = contentKey(bytes);
                read->parsed = !book || read->key != key;
                read->book =
                    read->parsed ? std::make_shared<const RuleBook>(parseRules(bytes)) : book;
            }
            hand([this, read] { ruleFileRead(*read); });
            if (!read->found) return;
            RuleScope scope(files, folders, *system, profiles);
            auto batch = std::make_shared<std::vector<DetectedApp>>();
            for (const RuleEntry& entry : read->book->entries) {
                if (stop.stop_requested()) return;
                if (!detectEntry(entry, scope)) continue;
                batch->push_back({&entry, resolveEntry(entry, scope), false});
                if (batch->size() < kBatch) continue;
                hand([this, batch] { addApps(*batch); });
                batch = std::make_shared<std::vector<DetectedApp>>();
            }
            if (!batch->empty()) hand([this, batch] { addApps(*batch); });
        },
        [this] {
            m_listed = true;
            showRuleText();
            if (m_listingChanged) m_listingChanged();
        });
    if (m_listingChanged) m_listingChanged();
}

void ApplicationsTab::ruleFileRead(const RuleRead& read) {
    m_file = read.file;
    m_found = read.found;
    const long code = read.status.code;
    if (!read.found && !read.file.empty() && code != kErrorFileNotFound &&
        code != kErrorPathNotFound)
        logFailure(m_context.log, m_context.services.errors,
                   L"Applications: the rule file " + read.file + L" could not be read",
                   read.status);
    if (read.found) {
        m_book = read.book;
        m_key = read.key;
    }
    if (read.parsed) {
        m_context.log.write(L"Applications: " + std::to_wstring(m_book->entries.size()) +
                            L" entries read from " + m_file + L"; " +
                            std::to_wstring(m_book->problems.size()) + L" left out.");
        for (const RuleProblem& problem : m_book->problems)
            m_context.log.write(L"Applications: left out: " + problemText(problem) + L".");
    }
    showRuleText();
}

void ApplicationsTab::showRuleText() {
    if (m_file.empty()) {
        m_view.showRuleFile(
            L"No rule file can be read: the system names no application data folder.", false);
        return;
    }
    if (!m_found) {
        m_view.showRuleFile(L"There is no rule file. Put one in the winapp2.ini format at " +
                                m_file + L", or get the current one with \"Get rules...\".",
                            true);
        return;
    }
    std::wstring text =
        L"Rules: " + m_file + L" (" + counted(m_book->entries.size(), L"entry", L"entries");
    text += m_listed ? L", " + std::to_wstring(m_apps.size()) + L" detected on this computer)."
                     : std::wstring(L"). Looking for the applications they name...");
    m_view.showRuleFile(text, false);
}

// Rows grouped by section, in the file's order within each.
void ApplicationsTab::addApps(std::vector<DetectedApp>& apps) {
    for (DetectedApp& app : apps) {
        app.ticked = std::find(m_ticked.begin(), m_ticked.end(), app.entry->name) != m_ticked.end();
        const auto place =
            std::upper_bound(m_apps.begin(), m_apps.end(), app.entry->section,
                             [](const std::wstring& section, const DetectedApp& other) {
                                 return section < other.entry->section;
                             });
        m_apps.insert(place, std::move(app));
    }
    showAllRows();
}

void ApplicationsTab::showAllRows() {
    m_rows.clear();
    m_windows->addRows(m_rows);
    for (const DetectedApp& app : m_apps)
        m_rows.push_back({app.entry->section,
                          app.entry->name,
                          app.targets.files.size(),
                          app.targets.bytes(),
                          app.targets.registry.size(),
                          app.ticked,
                          {},
                          true});
    m_view.showRows(m_rows);
}

void ApplicationsTab::tick(std::size_t row, bool ticked) {
    const std::size_t group = m_windows->size();
    if (row < group) {
        m_rows[row].ticked = m_windows->tick(row, ticked);
        m_view.showTick(row, m_rows[row].ticked);
        return;
    }
    if (row - group >= m_apps.size()) return;
    DetectedApp& app = m_apps[row - group];
    const RuleEntry& entry = *app.entry;
    if (m_rows[row].ticked == ticked ||
        (ticked && !entry.warning.empty() &&
         m_dialogs.messageBox(entry.name + L":\n\n" + entry.warning + L"\n\nTick it all the same?",
                              kAppTitle, kMbYesNo | kMbIconExclamation) != kIdYes)) {
        m_view.showTick(row, m_rows[row].ticked);
        return;
    }
    std::erase(m_ticked, entry.name);
    if (ticked) m_ticked.push_back(entry.name);
    app.ticked = ticked;
    m_rows[row].ticked = ticked;
    m_view.showTick(row, ticked);
    logFailure(m_context.log, m_context.services.errors,
               L"Applications: the ticked entries could not be stored",
               m_context.services.settings.write(kAppTitle, kSettingsSection, kAppsKey,
                                                 namesText(m_ticked)));
}

void ApplicationsTab::setAutomatic(bool ticked) {
    logFailure(m_context.log, m_context.services.errors,
               L"Applications: \"Clean applications automatically\" could not be stored",
               m_context.services.settings.write(kAppTitle, kSettingsSection, kAutoAppsKey,
                                                 ticked ? L"1" : L"0"));
}

void ApplicationsTab::tell(const std::wstring& text, unsigned style) {
    m_dialogs.messageBox(text, kAppTitle, style);
}

void ApplicationsTab::preview(std::size_t row) {
    const std::size_t group = m_windows->size();
    if (row < group) {
        tell(m_windows->previewText(row), kMbOk | kMbIconInformation);
        return;
    }
    if (row == static_cast<std::size_t>(-1) || row - group >= m_apps.size()) {
        tell(L"Select an entry in the list to see what it removes.", kMbOk | kMbIconInformation);
        return;
    }
    const DetectedApp& app = m_apps[row - group];
    const EntryTargets& targets = app.targets;
    std::vector<std::wstring> lines;
    for (const TargetFile& file : targets.files)
        lines.push_back(file.path + L" (" + sizeText(file.size) + L")");
    for (const TargetRegistry& item : targets.registry)
        lines.push_back(item.value ? item.key + L" | " + *item.value : item.key);
    std::wstring text = app.entry->name;
    if (lines.empty()) {
        text += L" has nothing to remove now.";
    } else {
        text += L" removes:\r\n";
        for (std::size_t i = 0; i < lines.size() && i < kPreviewLines; ++i)
            text += L"\r\n" + lines[i];
        if (lines.size() > kPreviewLines)
            text += L"\r\n... and " + std::to_wstring(lines.size() - kPreviewLines) + L" more.";
    }
    for (const std::wstring& refused : targets.refused) text += L"\r\n\r\nRefused: " + refused;
    for (const std::wstring& browser : targets.inUse) text += L"\r\n\r\nLeft: " + browser;
    tell(text, kMbOk | kMbIconInformation);
}

void ApplicationsTab::clean() {
    const bool windows = m_windows->anyTicked() && m_windows->items() != nullptr;
    if (m_ticked.empty() && !windows) {
        tell(L"No entry is ticked.", kMbOk | kMbIconInformation);
        return;
    }
    m_listing->stop();
    // What the tab counted is the clean's preview: its bytes stand for a wipe's, which gives none.
    CleanReport preview;
    CleanRun run;
    if (windows) {
        preview.entries.push_back({&kWindowsArea, m_windows->tickedCounts()});
        run.areas.push_back(&kWindowsArea);
    }
    if (!m_ticked.empty()) {
        AreaResult counted;
        std::size_t files = 0;
        std::uint64_t bytes = 0;
        for (std::size_t row = m_windows->size(); row < m_rows.size(); ++row) {
            if (!m_rows[row].ticked) continue;
            files += m_rows[row].files;
            bytes += m_rows[row].bytes;
        }
        counted.count = files;
        counted.bytes = bytes;
        preview.entries.push_back({&kAppsArea, counted});
        run.areas.push_back(&kAppsArea);
    }

    m_context.log.write(L"Clean Applications.");
    const CleanReport report = runClean(m_context, run);
    if (report.entries.empty()) return;
    m_context.log.write(L"Clean Applications: freed " + sizeText(freedBytes(report, preview)) +
                        L".");
    tell(cleanSummary(report, preview),
         kMbOk | (report.done() ? kMbIconInformation : kMbIconExclamation));
    refresh();
}

void ApplicationsTab::getRules() {
    AppRules* rules = m_context.state.apps;
    if (rules == nullptr) return;
    // The program's own rules are read afresh by each run; the tab's by its next listing.
    AppRules fetched(rules->system);
    RulesFetch fetch;
    std::vector<std::wstring> lines;
    const bool ran =
        m_context.operations.runOperation(L"getting rules", [&](std::stop_token, ProgressSink&) {
            fetch = fetchRules(fetched, m_downloader, m_context.services, lines);
        });
    for (const std::wstring& line : lines) m_context.log.write(line);
    if (!ran) return;
    if (!fetch.written) {
        tell(L"The rule file was not fetched: " + fetch.why + L".", kMbOk | kMbIconExclamation);
        return;
    }
    tell(std::to_wstring(fetch.entries) + L" entries read.", kMbOk | kMbIconInformation);
    refresh();
}

}  // namespace purgeon
