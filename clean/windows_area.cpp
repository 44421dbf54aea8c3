// The Windows area: previews name what each item remembers, cleans take the ticked items only.
#include "clean/windows_area.h"

#include <algorithm>

#include "clean/failure_text.h"
#include "clean/rule_clean.h"
#include "prefs/option_table.h"
#include "wipe/wipe_report.h"

namespace purgeon {

namespace {

constexpr wchar_t kWindowsTitle[] = L"Windows";
// The names a command-line preview gives of one item's traces.
constexpr std::size_t kLineNames = 10;

bool isTicked(const std::vector<std::wstring>& ticked, const std::wstring& name) {
    return std::find(ticked.begin(), ticked.end(), name) != ticked.end();
}

// What the clipboard holds, in the words of the preview.
void describeClipboard(const ClipboardContent& content, EntryTargets& targets) {
    targets.operationHolds = content.formats > 0;
    if (content.textLength)
        targets.remembered.push_back(L"text of " +
                                     countText(*content.textLength, L"character", L"characters"));
    if (content.files) targets.remembered.push_back(countText(content.files, L"file", L"files"));
    if (content.picture) targets.remembered.push_back(L"a picture");
    if (content.formats && targets.remembered.empty())
        targets.remembered.push_back(L"data of another kind");
}

EntryTargets operationTargets(RuleOperation operation, WindowsItems& items, SystemErrors& errors) {
    EntryTargets targets;
    if (operation == RuleOperation::clipboard) {
        ClipboardContent content;
        if (const Status read = items.traces.readClipboard(content); !read) {
            targets.notes.push_back(L"it could not be read: " + systemWords(errors, read));
        } else {
            describeClipboard(content, targets);
        }
    } else {
        targets.notes.push_back(L"Windows offers no documented way to read it");
    }
    return targets;
}

// An item's clean through the system; its log line, and whether it was done.
bool clearThroughSystem(const DetectedApp& item, WindowsItems& items, SystemErrors& errors,
                        std::wstring& line, std::size_t& removed) {
    const std::wstring name = L"Windows: " + item.entry->name + L": ";
    if (item.entry->operation == RuleOperation::clipboard) {
        if (item.targets.operationHolds == false) {
            line = name + L"it was empty.";
            return true;
        }
        if (const Status emptied = items.traces.emptyClipboard(); !emptied) {
            line = name + L"not emptied: " + systemWords(errors, emptied) + L".";
            return false;
        }
        ++removed;
        line = name + L"emptied.";
        return true;
    }
    unsigned long exitCode = 0;
    const Status flushed = items.traces.flushDnsCache(exitCode);
    if (!flushed) {
        line = name + L"not flushed: ipconfig /flushdns could not run: " +
               systemWords(errors, flushed) + L".";
        return false;
    }
    if (exitCode != 0) {
        line = name + L"not flushed: ipconfig /flushdns ended with exit code " +
               std::to_wstring(exitCode) + L".";
        return false;
    }
    line = name + L"flushed.";
    return true;
}

WindowsItems* readableItems(CleanContext& context, AreaResult& unread) {
    WindowsItems* items = context.state.windows;
    if (items == nullptr) {
        // Nothing to clean, as without a rule file: not a failure of the run.
        unread.count = 0;
        unread.why = L"no Windows items are read";
        return nullptr;
    }
    if (!items->read) {
        unread = leftAlone(L"the built-in rules could not be read: " +
                           systemWords(context.services.errors, items->read));
        return nullptr;
    }
    return items;
}

AreaResult previewWindows(CleanContext& context) {
    AreaResult result;
    WindowsItems* items = readableItems(context, result);
    if (items == nullptr) return result;
    const std::vector<std::wstring> ticked =
        readTickedWindows(context.services.settings, context.services.errors, result.log);
    std::size_t count = 0, tickedCount = 0;
    std::uint64_t bytes = 0;
    for (const DetectedApp& item : listWindowsItems(context.services, *items, ticked, false)) {
        for (const std::wstring& line : windowsItemLines(item, kLineNames))
            result.details.push_back(line);
        if (!item.ticked) continue;
        ++tickedCount;
        count += windowsItemCount(item);
        bytes += item.targets.bytes();
        const EntryTargets& targets = item.targets;
        if (!targets.refused.empty() || !targets.unlisted.empty() || !targets.unreadKeys.empty())
            result.done = false;
    }
    result.count = count;
    result.bytes = bytes;
    result.why = std::to_wstring(tickedCount) + L" of " +
                 countText(items->book.entries.size(), L"item", L"items") + L" ticked";
    return result;
}

AreaResult cleanWindows(CleanContext& context) {
    AreaResult result;
    WindowsItems* items = readableItems(context, result);
    if (items == nullptr) return result;
    const bool wipe = optionValue(context.options, kSecureForAllKey) == 1;
    SystemErrors& errors = context.services.errors;
    std::size_t removed = 0, cleaned = 0;
    std::vector<std::wstring> failed;  // the items not wholly done, besides files left
    std::uint64_t bytes = 0;
    WipeTally left;
    std::vector<std::wstring> refused;
    const bool ran = context.operations.runOperation(
        L"cleaning what Windows remembers", [&](std::stop_token stop, ProgressSink& sink) {
            const std::vector<std::wstring> ticked =
                readTickedWindows(context.services.settings, errors, result.log);
            const std::vector<DetectedApp> list =
                listWindowsItems(context.services, *items, ticked, true, stop);
            BatchProgress progress;
            for (const DetectedApp& item : list) {
                progress.filesTotal += item.targets.files.size();
                progress.bytesTotal += item.targets.bytes();
            }
            sink.report(progress);
            for (const DetectedApp& item : list) {
                if (stop.stop_requested()) break;
                ++cleaned;
                const std::wstring name = L"Windows: " + item.entry->name + L": ";
                const EntryTargets& targets = item.targets;
                if (item.entry->operation != RuleOperation::none) {
                    std::wstring line;
                    if (!clearThroughSystem(item, *items, errors, line, removed))
                        failed.push_back(item.entry->name);
                    result.log.push_back(line);
                    continue;
                }
                for (const std::wstring& refusal : targets.refused) {
                    refused.push_back(item.entry->name + L" was refused: " + refusal);
                    result.log.push_back(name + L"not cleaned: " + refusal + L".");
                }
                if (!targets.refused.empty() && targets.files.empty() && targets.registry.empty())
                    continue;
                const EntryClean done =
                    cleanTargets(context, items->system, targets, wipe, stop, sink, progress);
                removed += done.removed + done.registry;
                bytes += done.bytes;
                for (int i = 0; i < kShredOutcomeCount; ++i)
                    left.add(static_cast<ShredOutcome>(i),
                             done.left.count(static_cast<ShredOutcome>(i)));
                result.log.push_back(name + entryCleanText(done, targets) + L".");
                for (const std::wstring& note : targets.notes)
                    result.log.push_back(name + note + L".");
                for (const std::wstring& folder : targets.unlisted)
                    result.log.push_back(name + L"the folder " + folder + L" could not be listed.");
                for (const std::wstring& key : targets.unreadKeys)
                    result.log.push_back(name + L"the registry key " + key +
                                         L" could not be read.");
                if (done.registryFailed || !targets.unlisted.empty() || !targets.unreadKeys.empty())
                    failed.push_back(item.entry->name);
            }
            if (stop.stop_requested()) result.done = false;
        });
    if (!ran) {
        AreaResult busy = leftAlone(L"another operation was running");
        busy.log.push_back(L"Windows: not cleaned: another operation was running.");
        return busy;
    }
    result.count = removed;
    if (!wipe) result.bytes = bytes;
    std::vector<std::wstring> notes{L"from " + countText(cleaned, L"item", L"items")};
    if (left.total()) notes.push_back(L"left: " + left.notWipedDetails());
    if (!failed.empty()) {
        std::wstring names;
        for (const std::wstring& name : failed) names += (names.empty() ? L"" : L", ") + name;
        notes.push_back(L"not wholly done: " + names + L" (the log says why)");
    }
    for (const std::wstring& refusal : refused) notes.push_back(refusal);
    result.why = joinedNotes(notes);
    if (left.total() || !failed.empty() || !refused.empty()) result.done = false;
    return result;
}

bool windowsAutoTicked(CleanContext& context) {
    std::vector<std::wstring> log;
    return context.state.windows &&
           !readTickedWindows(context.services.settings, context.services.errors, log).empty();
}

}  // namespace

std::vector<DetectedApp> listWindowsItems(CleanServices& services, WindowsItems& items,
                                          const std::vector<std::wstring>& ticked, bool onlyTicked,
                                          std::stop_token stop) {
    RuleScope scope(services.files, services.folders, items.system, {});
    std::vector<DetectedApp> list;
    for (const RuleEntry& entry : items.book.entries) {
        if (stop.stop_requested()) break;
        const bool tick = isTicked(ticked, entry.name);
        if (onlyTicked && !tick) continue;
        list.push_back({&entry,
                        entry.operation == RuleOperation::none
                            ? resolveEntry(entry, scope)
                            : operationTargets(entry.operation, items, services.errors),
                        tick});
    }
    return list;
}

std::size_t windowsItemCount(const DetectedApp& item) {
    const EntryTargets& targets = item.targets;
    return targets.files.size() + targets.registry.size() +
           (targets.operationHolds == true ? std::size_t{1} : std::size_t{0});
}

std::vector<std::wstring> windowsItemLines(const DetectedApp& item, std::size_t names) {
    const EntryTargets& targets = item.targets;
    const bool operation = item.entry->operation != RuleOperation::none;
    const bool refused =
        !targets.refused.empty() && targets.files.empty() && targets.registry.empty();
    std::wstring line = item.entry->name + L": ";
    if (operation) {
        std::wstring held;
        for (const std::wstring& what : targets.remembered)
            held += (held.empty() ? L"" : L", ") + what;
        line += !targets.operationHolds   ? L"not counted: " + joinedNotes(targets.notes)
                : *targets.operationHolds ? L"holds " + held
                                          : L"empty";
    } else if (refused) {
        line += L"refused: " + targets.refused.front();
    } else {
        line += countText(targets.files.size(), L"file", L"files") + L" (" +
                sizeText(targets.bytes()) + L"), " +
                countText(targets.registry.size(), L"registry item", L"registry items");
    }
    std::vector<std::wstring> lines{item.ticked ? line + L", ticked" : line};
    if (!targets.remembered.empty() && !operation) {
        std::wstring shown;
        for (std::size_t i = 0; i < targets.remembered.size() && i < names; ++i)
            shown += (i == 0 ? L"" : L", ") + targets.remembered[i];
        if (targets.remembered.size() > names)
            shown += L" and " + std::to_wstring(targets.remembered.size() - names) + L" more";
        lines.push_back(L"  remembers: " + shown);
    }
    for (const std::wstring& count : targets.counted) lines.push_back(L"  " + count);
    if (!operation)
        for (const std::wstring& note : targets.notes) lines.push_back(L"  " + note);
    if (!refused)
        for (const std::wstring& refusal : targets.refused)
            lines.push_back(L"  refused: " + refusal);
    for (const std::wstring& folder : targets.unlisted)
        lines.push_back(L"  the folder " + folder + L" could not be listed");
    for (const std::wstring& key : targets.unreadKeys)
        lines.push_back(L"  the registry key " + key + L" could not be read");
    return lines;
}

const Area kWindowsArea{
    .name = L"windows",
    .title = kWindowsTitle,
    .one = L"item",
    .many = L"items",
    .help =
        L"what Windows itself remembers: the Windows items ticked on the Applications tab "
        L"(recent documents, jump lists, Run and search history, Open and Save history, "
        L"thumbnails, program usage, folder views, clipboard, DNS cache, error reports, memory "
        L"dumps, Prefetch)",
    .optionKey = kWindowsKey,
    .status = L"Cleaning what Windows remembers...",
    .preview = previewWindows,
    .clean = cleanWindows,
    .autoTicked = windowsAutoTicked,
};

}  // namespace purgeon
