// What Windows itself remembers as one area: the ticked Windows items, each an entry of the
// built-in rules, files and registry items removed by the rules' engine and the clipboard and
// the resolver's cache cleared through the system.
#pragma once

#include <cstddef>
#include <stop_token>
#include <string>
#include <vector>

#include "clean/apps_area.h"
#include "clean/area.h"
#include "clean/windows_items.h"

namespace purgeon {

extern const Area kWindowsArea;

// Every Windows item (or only the ticked ones) with what it would remove now: files, registry
// items, what they remember, what the system holds for its operation. Nothing is removed.
// Stops between items when asked.
std::vector<DetectedApp> listWindowsItems(CleanServices& services, WindowsItems& items,
                                          const std::vector<std::wstring>& ticked, bool onlyTicked,
                                          std::stop_token stop = {});

// How many things the item would remove: its files and registry items, and the clipboard's
// content when there is any.
std::size_t windowsItemCount(const DetectedApp& item);

// What the item's preview says: "Recent documents: 3 files (705 bytes), 4 registry items,
// ticked", then, indented, what its traces remember (at most `names` of them) and its notes.
std::vector<std::wstring> windowsItemLines(const DetectedApp& item, std::size_t names);

}  // namespace purgeon
