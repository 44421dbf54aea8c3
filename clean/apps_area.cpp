// The applications' area: previews list every detected entry, cleans remove what the ticked,
// detected entries reach and nothing else.
#include "clean/apps_area.h"

#include <algorithm>

#include "clean/failure_text.h"
#include "clean/rule_clean.h"
#include "wipe/shred_batch.h"
#include "wipe/wipe_report.h"

namespace purgeon {

namespace {

constexpr wchar_t kAppsTitle[] = L"Applications";

std::vector<BrowserProfile> foundProfiles(CleanContext& context) {
    std::vector<BrowserProfile> profiles;
    for (const BrowserChoice& choice : context.browsers.choices())
        profiles.push_back(choice.profile);
    return profiles;
}

bool isTicked(const AppRules& rules, const std::wstring& name) {
    return std::find(rules.ticked.begin(), rules.ticked.end(), name) != rules.ticked.end();
}

// With no rule file there is nothing to clean: that is not a failure of the run.
AreaResult noRules(const AppRules* rules) {
    AreaResult result;
    result.count = 0;
    result.why = !rules || rules->file.empty()
                     ? std::wstring(L"no rule file is read")
                     : L"there is no rule file; put one at " + rules->file;
    return result;
}

AreaResult previewApps(CleanContext& context) {
    AppRules* rules = context.state.apps;
    std::vector<std::wstring> readLines;
    if (rules && rules->readOnRun) loadAppRules(*rules, context.services, readLines);
    if (!rules || !rules->found) return noRules(rules);
    const std::vector<DetectedApp> apps = detectApps(context);
    AreaResult result;
    std::size_t count = 0, registry = 0, ticked = 0;
    std::uint64_t bytes = 0;
    std::size_t refused = 0;
    for (const DetectedApp& app : apps) {
        result.details.push_back(appPreviewLine(app));
        // Every refusal is named, ticked or not: the user learns what a rule would have done.
        for (const std::wstring& refusal : app.targets.refused)
            result.details.push_back(L"  " + refusal + L".");
        if (!app.ticked) continue;
        ++ticked;
        count += app.targets.files.size();
        bytes += app.targets.bytes();
        registry += app.targets.registry.size();
        refused += app.targets.refused.size();
        if (!app.targets.unlisted.empty() || !app.targets.refused.empty()) result.done = false;
    }
    result.count = count;
    result.bytes = bytes;
    result.why = countText(registry, L"registry item", L"registry items") + L"; " +
                 countText(apps.size(), L"entry", L"entries") + L" detected, " +
                 std::to_wstring(ticked) + L" ticked";
    if (refused) result.why += L"; " + std::to_wstring(refused) + L" rule(s) of them refused";
    if (!rules->book.problems.empty())
        result.why += L"; " + std::to_wstring(rules->book.problems.size()) +
                      L" entries or lines of the rule file left out (the log names them)";
    return result;
}

AreaResult cleanApps(CleanContext& context) {
    AppRules* rules = context.state.apps;
    if (!rules || !(rules->found || rules->readOnRun)) return noRules(rules);
    const bool wipe = optionValue(context.options, kSecureForAllKey) == 1;
    AreaResult result;
    std::size_t removed = 0, registry = 0, entries = 0;
    std::uint64_t bytes = 0;
    WipeTally left;
    std::size_t registryFailed = 0, refused = 0;
    bool ran = false;
    context.operations.runOperation(L"cleaning applications' traces", [&](std::stop_token stop,
                                                                          ProgressSink& sink) {
        ran = true;
        if (rules->readOnRun) loadAppRules(*rules, context.services, result.log);
        if (!rules->found) return;
        std::vector<DetectedApp> apps = detectApps(context, stop);
        std::erase_if(apps, [](const DetectedApp& app) { return !app.ticked; });
        BatchProgress progress;
        for (const DetectedApp& app : apps) {
            progress.filesTotal += app.targets.files.size();
            progress.bytesTotal += app.targets.bytes();
        }
        sink.report(progress);
        for (const DetectedApp& app : apps) {
            if (stop.stop_requested()) break;
            const RuleEntry& entry = *app.entry;
            const EntryClean done =
                cleanTargets(context, rules->system, app.targets, wipe, stop, sink, progress);
            ++entries;
            removed += done.removed;
            bytes += done.bytes;
            registry += done.registry;
            registryFailed += done.registryFailed;
            for (int i = 0; i < kShredOutcomeCount; ++i)
                left.add(static_cast<ShredOutcome>(i),
                         done.left.count(static_cast<ShredOutcome>(i)));
            result.log.push_back(L"Applications: " + entry.name + L": " +
                                 entryCleanText(done, app.targets) + L".");
            for (const std::wstring& refusal : app.targets.refused) {
                ++refused;
                result.log.push_back(L"Applications: " + entry.name + L": " + refusal + L".");
            }
            for (const std::wstring& browser : app.targets.inUse)
                result.log.push_back(
                    L"Applications: " + entry.name + L": " + std::to_wstring(app.targets.heldBack) +
                    L" file(s) left in a running browser's profile: " + browser + L".");
            for (const std::wstring& folder : app.targets.unlisted)
                result.log.push_back(L"Applications: " + entry.name + L": the folder " + folder +
                                     L" could not be listed.");
        }
        if (stop.stop_requested()) result.done = false;
    });
    if (ran && !rules->found) {
        AreaResult none = noRules(rules);
        none.log = std::move(result.log);
        return none;
    }
    if (!ran) {
        AreaResult busy = leftAlone(L"another operation was running");
        busy.log.push_back(L"Applications: not cleaned: another operation was running.");
        return busy;
    }
    result.count = removed;
    if (!wipe) result.bytes = bytes;
    std::vector<std::wstring> notes;
    notes.push_back(countText(registry, L"registry item", L"registry items") + L" removed from " +
                    countText(entries, L"entry", L"entries"));
    if (left.total()) notes.push_back(L"left: " + left.notWipedDetails());
    if (registryFailed)
        notes.push_back(std::to_wstring(registryFailed) +
                        L" registry item(s) could not be removed");
    if (refused) notes.push_back(std::to_wstring(refused) + L" rule(s) refused; the log says why");
    result.why = joinedNotes(notes);
    // A refused rule was not done: what it asked for is still there.
    if (left.total() || registryFailed || refused) result.done = false;
    return result;
}

bool appsAutoTicked(CleanContext& context) {
    return context.state.apps && autoAppsStored(context.services.settings);
}

}  // namespace

std::vector<DetectedApp> detectApps(CleanContext& context, std::stop_token stop) {
    AppRules& rules = *context.state.apps;
    RuleScope scope(context.services.files, context.services.folders, rules.system,
                    foundProfiles(context));
    std::vector<DetectedApp> apps;
    for (const RuleEntry& entry : rules.book.entries) {
        if (stop.stop_requested()) break;
        if (!detectEntry(entry, scope)) continue;
        apps.push_back({&entry, resolveEntry(entry, scope), isTicked(rules, entry.name)});
    }
    return apps;
}

std::wstring appPreviewLine(const DetectedApp& app) {
    const EntryTargets& targets = app.targets;
    std::wstring line = app.entry->name + L": " +
                        countText(targets.files.size(), L"file", L"files") + L" (" +
                        sizeText(targets.bytes()) + L"), " +
                        countText(targets.registry.size(), L"registry item", L"registry items");
    if (!targets.refused.empty())
        line += L", " + std::to_wstring(targets.refused.size()) + L" rule(s) refused";
    return app.ticked ? line + L", ticked" : line;
}

const Area kAppsArea{
    .name = L"apps",
    .title = kAppsTitle,
    .one = L"file",
    .many = L"files",
    .help =
        L"other applications' traces: the entries of the rule file winapp2.ini ticked on the "
        L"Applications tab, each only where it is detected",
    .optionKey = kAutoAppsKey,
    .status = L"Cleaning applications' traces...",
    .preview = previewApps,
    .clean = cleanApps,
    .autoTicked = appsAutoTicked,
};

}  // namespace purgeon
