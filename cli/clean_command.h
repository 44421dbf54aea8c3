// A start with arguments: the areas cleaned or previewed, or files, folders or a volume's free
// space wiped, without any window; what came of it told to the console; the exit code.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "clean/clean_services.h"
#include "platform/console.h"
#include "platform/trace_system.h"

namespace purgeon {

// Runs what the arguments ask for (see parseCommandLine) and gives the process's exit code. No
// window, no message box: what a box would have said goes to the log. A clean or preview takes
// the areas through the same run as the automatic runs, writes the log like them, and tells the
// console one line per area. A wipe asks nothing, names on the console each item it could not
// wipe and why, and writes only counts to the log. The single-instance slot is neither asked for
// nor taken, so it runs beside the program in the tray. The applications' area reads the rule
// file through traces; without it that area is left alone.
//
// askFirst, when given, is asked before a wipe (/wipe) with the question the Secure Wipe tab asks;
// false leaves everything as it was (exit code kExitCancelled). A start by the Explorer's "Wipe
// with Purgeon" gives it; a script does not.
using AskFirst = std::function<bool(const std::wstring& question)>;
int runCommandLine(const std::vector<std::wstring>& arguments, CleanServices& services,
                   ConsoleOutput& console, const AskFirst& askFirst = {},
                   TraceSystem* traces = nullptr);

}  // namespace purgeon
