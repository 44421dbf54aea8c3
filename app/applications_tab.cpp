// The Applications tab's behaviour.
#include "app/applications_tab.h"

#include <algorithm>

#include "clean/clean_run.h"
#include "clean/failure_text.h"
#include "product/product.h"
#include "wipe/wipe_report.h"

namespace purgeon {

ApplicationsTab::ApplicationsTab(CleanContext& context, Dialogs& dialogs, Downloader& downloader,
                                 ApplicationsView& view)
    : m_context(context), m_dialogs(dialogs), m_downloader(downloader), m_view(view) {}

void ApplicationsTab::refresh() {
    AppRules& rules = *m_context.state.apps;
    std::vector<DetectedApp> apps;
    std::vector<std::wstring> lines;
    const bool ran = m_context.operations.runOperation(
        L"counting applications' traces", [&](std::stop_token stop, ProgressSink&) {
            loadAppRules(rules, m_context.services, lines);
            if (rules.found) apps = detectApps(m_context, stop);
        });
    for (const std::wstring& line : lines) m_context.log.write(line);
    if (!ran) return;
    // Grouped by section, in the file's order within each.
    std::stable_sort(apps.begin(), apps.end(), [](const DetectedApp& a, const DetectedApp& b) {
        return a.entry->section < b.entry->section;
    });
    m_apps = std::move(apps);
    show();
}

void ApplicationsTab::show() {
    AppRules& rules = *m_context.state.apps;
    m_rows.clear();
    if (!rules.found) {
        m_view.showNoRules(rules.file.empty()
                               ? std::wstring(L"No rule file can be read: the system names no "
                                              L"application data folder.")
                               : L"There is no rule file. Put one in the winapp2.ini format at " +
                                     rules.file +
                                     L", or get the current one with \"Get rules...\".");
        return;
    }
    for (DetectedApp& app : m_apps) {
        app.ticked = std::find(rules.ticked.begin(), rules.ticked.end(), app.entry->name) !=
                     rules.ticked.end();
        m_rows.push_back({app.entry->section, app.entry->name, app.targets.files.size(),
                          app.targets.bytes(), app.targets.registry.size(), app.ticked});
    }
    m_view.showRows(m_rows);
}

void ApplicationsTab::save() {
    logFailure(m_context.log, m_context.services.errors,
               L"Applications: the ticked entries could not be stored",
               saveTickedApps(*m_context.state.apps, m_context.services.settings));
}

void ApplicationsTab::tick(std::size_t row, bool ticked) {
    if (row >= m_apps.size()) return;
    const RuleEntry& entry = *m_apps[row].entry;
    AppRules& rules = *m_context.state.apps;
    if (ticked && !entry.warning.empty() &&
        m_dialogs.messageBox(entry.name + L":\n\n" + entry.warning + L"\n\nTick it all the same?",
                             kAppTitle, kMbYesNo | kMbIconExclamation) != kIdYes) {
        m_view.showRows(m_rows);  // the tick goes back
        return;
    }
    std::erase(rules.ticked, entry.name);
    if (ticked) rules.ticked.push_back(entry.name);
    m_apps[row].ticked = ticked;
    m_rows[row].ticked = ticked;
    save();
}

void ApplicationsTab::preview(std::size_t row) {
    if (row >= m_apps.size()) return;
    const EntryTargets& targets = m_apps[row].targets;
    std::vector<std::wstring> lines;
    for (const TargetFile& file : targets.files)
        lines.push_back(file.path + L" (" + sizeText(file.size) + L")");
    for (const TargetRegistry& item : targets.registry)
        lines.push_back(item.value ? item.key + L" | " + *item.value : item.key);
    for (const std::wstring& refused : targets.refused) lines.push_back(L"Refused: " + refused);
    for (const std::wstring& browser : targets.inUse) lines.push_back(L"Left: " + browser);
    m_view.showPreview(lines);
}

void ApplicationsTab::clean() {
    if (m_context.state.apps->ticked.empty()) {
        m_dialogs.messageBox(L"No entry is ticked.", kAppTitle, kMbOk | kMbIconInformation);
        return;
    }
    CleanRun run;
    run.areas = {&kAppsArea};
    const CleanReport report = runClean(m_context, run);
    const AreaResult* result = report.find(kAppsArea);
    if (!result) return;
    std::wstring text =
        L"Applications: " + std::to_wstring(result->count.value_or(0)) + L" file(s)";
    if (result->bytes) text += L" (" + sizeText(*result->bytes) + L")";
    text += L" removed";
    if (!result->why.empty()) text += L"; " + result->why;
    m_dialogs.messageBox(text + L".", kAppTitle,
                         kMbOk | (result->done ? kMbIconInformation : kMbIconExclamation));
    refresh();
}

void ApplicationsTab::getRules() {
    RulesFetch fetch;
    std::vector<std::wstring> lines;
    const bool ran =
        m_context.operations.runOperation(L"getting rules", [&](std::stop_token, ProgressSink&) {
            fetch = fetchRules(*m_context.state.apps, m_downloader, m_context.services, lines);
        });
    for (const std::wstring& line : lines) m_context.log.write(line);
    if (!ran) return;
    if (!fetch.written) {
        m_dialogs.messageBox(L"The rule file was not fetched: " + fetch.why + L".", kAppTitle,
                             kMbOk | kMbIconExclamation);
        return;
    }
    m_dialogs.messageBox(std::to_wstring(fetch.entries) + L" entries read.", kAppTitle,
                         kMbOk | kMbIconInformation);
    refresh();
}

}  // namespace purgeon
