// The Windows group of the Applications tab.
#include "app/windows_group.h"

#include <algorithm>

#include "clean/failure_text.h"
#include "product/product.h"

namespace purgeon {

namespace {

// The preview box names at most this many remembered things.
constexpr std::size_t kPreviewNames = 25;

// What a row says of an item that is not counted in files and registry items.
std::wstring rowNote(const DetectedApp& item) {
    const EntryTargets& targets = item.targets;
    if (item.entry->operation != RuleOperation::none) {
        if (!targets.operationHolds) return L"not counted";
        if (!*targets.operationHolds) return L"empty";
        std::wstring held;
        for (const std::wstring& what : targets.remembered)
            held += (held.empty() ? L"" : L", ") + what;
        return held;
    }
    if (!targets.refused.empty() && targets.files.empty() && targets.registry.empty())
        return L"needs administrator rights";
    return {};
}

}  // namespace

WindowsGroup::WindowsGroup(CleanContext& context, Dialogs& dialogs)
    : m_context(context), m_dialogs(dialogs) {}

WindowsItems* WindowsGroup::items() const {
    WindowsItems* items = m_context.state.windows;
    return items != nullptr && items->read ? items : nullptr;
}

void WindowsGroup::reset() {
    m_items.clear();
    std::vector<std::wstring> log;
    m_ticked = readTickedWindows(m_context.services.settings, m_context.services.errors, log);
    for (const std::wstring& line : log) m_context.log.write(line);
}

std::vector<DetectedApp> WindowsGroup::list(CleanServices& services, WindowsItems& items,
                                            std::stop_token stop) {
    return listWindowsItems(services, items, {}, false, stop);
}

void WindowsGroup::listed(std::vector<DetectedApp> items) {
    m_items = std::move(items);
    for (DetectedApp& item : m_items)
        item.ticked =
            std::find(m_ticked.begin(), m_ticked.end(), item.entry->name) != m_ticked.end();
}

void WindowsGroup::addRows(std::vector<AppRow>& rows) const {
    for (const DetectedApp& item : m_items) {
        std::wstring note = rowNote(item);
        const bool counted = note.empty();
        rows.push_back({kWindowsSection, item.entry->name, item.targets.files.size(),
                        item.targets.bytes(), item.targets.registry.size(), item.ticked,
                        std::move(note), counted});
    }
}

bool WindowsGroup::tick(std::size_t index, bool ticked) {
    if (index >= m_items.size()) return false;
    DetectedApp& item = m_items[index];
    const RuleEntry& entry = *item.entry;
    if (item.ticked == ticked ||
        (ticked && !entry.warning.empty() &&
         m_dialogs.messageBox(entry.name + L":\n\n" + entry.warning + L"\n\nTick it all the same?",
                              kAppTitle, kMbYesNo | kMbIconExclamation) != kIdYes))
        return item.ticked;
    std::erase(m_ticked, entry.name);
    if (ticked) m_ticked.push_back(entry.name);
    item.ticked = ticked;
    logFailure(m_context.log, m_context.services.errors,
               L"Windows: the ticked items could not be stored",
               saveTickedWindows(m_ticked, m_context.services.settings));
    return ticked;
}

AreaResult WindowsGroup::tickedCounts() const {
    AreaResult counted;
    std::size_t count = 0;
    std::uint64_t bytes = 0;
    for (const DetectedApp& item : m_items) {
        if (!item.ticked) continue;
        count += windowsItemCount(item);
        bytes += item.targets.bytes();
    }
    counted.count = count;
    counted.bytes = bytes;
    return counted;
}

std::wstring WindowsGroup::previewText(std::size_t index) const {
    if (index >= m_items.size()) return {};
    DetectedApp shown = m_items[index];
    shown.ticked = false;
    std::wstring text;
    for (const std::wstring& line : windowsItemLines(shown, kPreviewNames))
        text += (text.empty() ? L"" : L"\r\n") + line;
    return text + L".";
}

}  // namespace purgeon
