// What Windows itself remembers, as the program holds it: the built-in rules read from the
// program, the system's operations, and the items the user ticked.
#pragma once

#include <string>
#include <vector>

#include "platform/settings_store.h"
#include "platform/system_errors.h"
#include "platform/trace_system.h"
#include "platform/windows_traces.h"
#include "rules/rule_book.h"

namespace purgeon {

struct WindowsItems {
    // Reads the built-in rules at once: they never change while the program runs.
    WindowsItems(TraceSystem& system, WindowsTraces& traces);
    TraceSystem& system;
    WindowsTraces& traces;
    Status read;  // reading the built-in rules
    RuleBook book;
    std::vector<std::wstring> ticked;  // the items' names
};

// The stored ticks, read afresh; a failure other than "not stored" gives a line for the log.
std::vector<std::wstring> readTickedWindows(SettingsStore& settings, SystemErrors& errors,
                                            std::vector<std::wstring>& log);

Status saveTickedWindows(const std::vector<std::wstring>& ticked, SettingsStore& settings);

}  // namespace purgeon
