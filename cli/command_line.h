// What the program's arguments ask for: the window, a clean or preview of some areas, a wipe of
// files and folders or of a volume's free space, or help.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace purgeon {

// The process's exit codes for a start with arguments.
inline constexpr int kExitDone = 0;          // everything asked was done
inline constexpr int kExitIncomplete = 1;    // some items could not be: in use, refused, failed
inline constexpr int kExitBadArguments = 2;  // the arguments were not understood
inline constexpr int kExitCancelled = 3;     // the user answered no to the question

enum class CommandAction {
    window,         // no arguments: the program with its windows
    clean,          // /clean [AREAS]
    preview,        // /preview [AREAS]
    wipe,           // /wipe PATH [PATH ...]
    wipeFreeSpace,  // /wipefreespace FOLDER
    help,           // /help or /?
    invalid,        // anything else: error says what
};

struct CommandLine {
    CommandAction action = CommandAction::window;
    // Rows of cleanAreas(), in the table's order, each once; every row when no list was given.
    std::vector<std::size_t> areas;
    // For wipe: the files and folders, in the order given; for wipeFreeSpace: the one folder.
    std::vector<std::wstring> paths;
    std::wstring error;  // for invalid: what was not understood
};

// Reads the arguments (without the program's own name). Switches start with "/" or "-" and take
// any case; one of /clean and /preview, followed by areas separated by commas or blanks; or
// /wipe followed by full paths of files and folders; or /wipefreespace followed by one full path
// of a folder (or a drive, "D:"). /help or /? anywhere asks for the usage text.
CommandLine parseCommandLine(const std::vector<std::wstring>& arguments);

// The usage text, with every area of the table; lines end in "\n".
std::wstring usageText();

}  // namespace purgeon
