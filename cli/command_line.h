// What the program's arguments ask for, read against the table of switches and the table of
// areas; and the usage text, made from both.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "cli/command_switches.h"

namespace purgeon {

struct CommandLine {
    // The switch given. Null with no arguments (the program with its windows) and when the
    // arguments were not understood (error then says what).
    const CommandSwitch* given = nullptr;
    // Rows of cleanAreas(), in the table's order, each once; every row when no list was given.
    std::vector<std::size_t> areas;
    // For a switch that takes paths or a folder: them, in the order given.
    std::vector<std::wstring> paths;
    std::wstring error;  // what was not understood

    bool window() const { return given == nullptr && error.empty(); }
    // Whether the switch given has that name.
    bool is(std::wstring_view name) const;
};

// Reads the arguments (without the program's own name). Switches start with "/" or "-" and take
// any case; at most one switch of the table, followed by what it takes (areas separated by commas
// or blanks, full paths, or one folder or drive, "D:"). /help or /? anywhere asks for the usage
// text.
CommandLine parseCommandLine(const std::vector<std::wstring>& arguments);

// The usage text, with every switch, every area of the table and every exit code; lines end in
// "\n" and keep within the console's width.
std::wstring usageText();

// The arguments as the log may keep them: what follows a switch that takes paths stands as
// "<path>", so the log names no file.
std::wstring argumentsForLog(const std::vector<std::wstring>& arguments);

}  // namespace purgeon
