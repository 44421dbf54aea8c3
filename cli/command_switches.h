// Every switch of the command line, one row each: what follows it, its lines in the usage text,
// its line in the log and the run it starts; and the process's exit codes.
#pragma once

#include <span>

namespace purgeon {

// The process's exit codes for a start with arguments.
inline constexpr int kExitDone = 0;          // everything asked was done
inline constexpr int kExitIncomplete = 1;    // some items could not be: in use, refused, failed
inline constexpr int kExitBadArguments = 2;  // the arguments were not understood
inline constexpr int kExitCancelled = 3;     // the user answered no to the question

// What the usage text says of each exit code, in order.
struct ExitCodeMeaning {
    int code;
    const wchar_t* meaning;  // after "<code> when "
};
inline constexpr ExitCodeMeaning kExitCodes[] = {
    {kExitDone, L"everything asked was done"},
    {kExitIncomplete,
     L"some items could not be (in use, refused by a guard, failed: the output or the log says "
     L"which)"},
    {kExitBadArguments, L"the arguments were not understood"},
    {kExitCancelled, L"a wipe started by the Explorer's \"Wipe with Purgeon\" was cancelled"},
};

// What may follow a switch on the command line.
enum class SwitchTakes {
    nothing,
    areas,   // names of the area table, separated by commas or blanks; none: every area
    paths,   // full paths of files and folders, at least one
    folder,  // the full path of one folder, or a drive alone ("D:")
};

struct CommandRun;

struct CommandSwitch {
    const wchar_t* name;   // after "/" or "-", in any case
    const wchar_t* alias;  // another name for it ("?"), or null
    SwitchTakes takes;
    const wchar_t* synopsis;  // the usage text's left column: "/clean [AREAS]"
    const wchar_t* usage;     // its right column, wrapped to the console's width
    // The log's first line of the run, "<arguments>" standing for the arguments with every path
    // masked; null: the run writes nothing to the log.
    const wchar_t* logLine;
    int (*run)(CommandRun& run);  // gives the exit code
};

// The switches in the order the usage text lists them and their conflicts are told.
std::span<const CommandSwitch> commandSwitches();

}  // namespace purgeon
