// A start with arguments: what the switch given runs, without any window, over the program's
// services; what came of it told to the console; the exit code.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "clean/clean_context.h"
#include "clean/clean_services.h"
#include "platform/console.h"
#include "platform/trace_system.h"
#include "platform/windows_traces.h"

namespace purgeon {

// Where a command writes its lines for the user.
using Tell = std::function<void(const std::wstring&)>;

// Asked before a wipe with the question the Secure Wipe tab asks; false leaves everything as it
// was. A start by the Explorer's "Wipe with Purgeon" gives it; a script does not.
using AskFirst = std::function<bool(const std::wstring& question)>;

// What a switch's run is given.
struct CommandRun {
    const CommandLine& command;
    CleanContext& context;
    const Tell& tell;
    const AskFirst& askFirst;
    // The registry and places the rule file's entries are read against; without it the
    // applications' area is left alone.
    TraceSystem* traces;
    // The clipboard, the resolver's cache and the built-in rules; without them (or without
    // traces) the Windows area is left alone.
    WindowsTraces* windowsTraces = nullptr;
};

// Runs what the arguments ask for (see parseCommandLine and the table of switches) and gives the
// process's exit code. No window, no message box: what a box would have said goes to the log.
// The log gets the switch's line with the arguments (paths masked), and the exit code. The
// single-instance slot is neither asked for nor taken, so it runs beside the program in the tray.
int runCommandLine(const std::vector<std::wstring>& arguments, CleanServices& services,
                   ConsoleOutput& console, const AskFirst& askFirst = {},
                   TraceSystem* traces = nullptr, WindowsTraces* windowsTraces = nullptr);

}  // namespace purgeon
