// The Applications tab's "Windows" group: the Windows items with what each would remove now and
// what its traces remember, their ticks (stored in "windows", the Warning first), and the text of
// an item's preview.
#pragma once

#include <cstddef>
#include <stop_token>
#include <string>
#include <vector>

#include "app/applications_tab.h"
#include "clean/windows_area.h"
#include "platform/dialogs.h"

namespace purgeon {

inline constexpr wchar_t kWindowsSection[] = L"Windows";

class WindowsGroup {
public:
    WindowsGroup(CleanContext& context, Dialogs& dialogs);

    // The items the program holds, when their built-in rules could be read; null otherwise.
    WindowsItems* items() const;
    // Forgets the rows and reads the stored ticks afresh.
    void reset();
    // Every item with what it reaches now: the listing's work, off the window's thread.
    static std::vector<DetectedApp> list(CleanServices& services, WindowsItems& items,
                                         std::stop_token stop);
    // The listing's items, on the window's thread.
    void listed(std::vector<DetectedApp> items);

    std::size_t size() const { return m_items.size(); }
    // The group's rows, to stand before the rule file's.
    void addRows(std::vector<AppRow>& rows) const;
    // Ticks or unticks an item: an item with a Warning is ticked only after "Yes". Gives the tick
    // the row has afterwards.
    bool tick(std::size_t index, bool ticked);
    bool anyTicked() const { return !m_ticked.empty(); }
    // What the ticked items would remove, as the clean's summary counts it.
    AreaResult tickedCounts() const;
    // What the item's preview box says: its counts, what its traces remember, its notes.
    std::wstring previewText(std::size_t index) const;

private:
    CleanContext& m_context;
    Dialogs& m_dialogs;
    std::vector<std::wstring> m_ticked;  // as stored
    std::vector<DetectedApp> m_items;    // in the built-in rules' order
};

}  // namespace purgeon
