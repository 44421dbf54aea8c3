// Reading the arguments against the area table and the wipe switches, and the usage text.
#include "cli/command_line.h"

#include <algorithm>
#include <cwctype>

#include "clean/area_table.h"
#include "wipe/folder_guard.h"

namespace purgeon {

namespace {

constexpr size_t kUsageWidth = 79;

std::wstring lowered(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

std::wstring trimmed(const std::wstring& text) {
    const size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos) return {};
    return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

// The switches that choose what a run does, in the order their conflicts are told.
struct ActionSwitch {
    const wchar_t* name;
    CommandAction action;
};
constexpr ActionSwitch kActionSwitches[] = {
    {L"clean", CommandAction::clean},
    {L"preview", CommandAction::preview},
    {L"wipe", CommandAction::wipe},
    {L"wipefreespace", CommandAction::wipeFreeSpace},
};

const ActionSwitch* actionSwitch(const std::wstring& name) {
    for (const ActionSwitch& given : kActionSwitches) {
        if (name == given.name) return &given;
    }
    return nullptr;
}

std::wstring switchName(CommandAction action) {
    for (const ActionSwitch& given : kActionSwitches) {
        if (given.action == action) return std::wstring(L"/") + given.name;
    }
    return {};
}

// A path the run can act on without a current folder: "C:\...", "\\server\share\..."; and, for
// the free space, a drive alone ("D:").
bool fullPath(const std::wstring& path, CommandAction action) {
    if (action == CommandAction::wipeFreeSpace && path.size() == 2 && path[1] == L':')
        return !plainPath(path + L"\\").empty();
    return !plainPath(path).empty();
}

CommandLine invalid(std::wstring error) {
    CommandLine command;
    command.action = CommandAction::invalid;
    command.error = std::move(error);
    return command;
}

}  // namespace

CommandLine parseCommandLine(const std::vector<std::wstring>& arguments) {
    CommandLine command;
    if (arguments.empty()) return command;
    const std::span<const Area* const> areas = cleanAreas();
    std::vector<bool> named(areas.size(), false);
    bool help = false;
    bool listGiven = false;
    std::wstring error;
    auto fail = [&](std::wstring text) {
        if (error.empty()) error = std::move(text);
    };

    for (const std::wstring& argument : arguments) {
        if (argument.size() > 1 && (argument[0] == L'/' || argument[0] == L'-')) {
            const std::wstring name = lowered(argument.substr(1));
            if (name == L"help" || name == L"?") {
                help = true;
            } else if (const ActionSwitch* given = actionSwitch(name)) {
                if (command.action != CommandAction::window && command.action != given->action) {
                    fail(switchName(std::min(command.action, given->action)) + L" and " +
                         switchName(std::max(command.action, given->action)) +
                         L" cannot be given together.");
                }
                command.action = given->action;
            } else {
                fail(L"Unknown switch: " + argument);
            }
            continue;
        }
        if (command.action == CommandAction::window) {
            fail(
                L"The area list belongs after /clean or /preview, and paths after /wipe or "
                L"/wipefreespace: " +
                argument);
            continue;
        }
        if (command.action == CommandAction::wipe ||
            command.action == CommandAction::wipeFreeSpace) {
            if (fullPath(argument, command.action)) {
                command.paths.push_back(argument);
            } else {
                fail(L"Not a full path: " + argument);
            }
            continue;
        }
        listGiven = true;
        size_t start = 0;
        while (start <= argument.size()) {
            const size_t comma = std::min(argument.find(L',', start), argument.size());
            const std::wstring item = trimmed(argument.substr(start, comma - start));
            start = comma + 1;
            if (item.empty()) continue;
            const auto row = std::find_if(areas.begin(), areas.end(), [&](const Area* area) {
                return lowered(item) == area->name;
            });
            if (row == areas.end()) {
                fail(L"Unknown area: " + item);
            } else {
                named[static_cast<size_t>(row - areas.begin())] = true;
            }
        }
    }

    if (help) {
        command = CommandLine{};
        command.action = CommandAction::help;
        return command;
    }
    if (!error.empty()) return invalid(error);
    if (command.action == CommandAction::wipe && command.paths.empty())
        return invalid(L"/wipe needs the full path of at least one file or folder.");
    if (command.action == CommandAction::wipeFreeSpace && command.paths.size() != 1) {
        return invalid(command.paths.empty()
                           ? L"/wipefreespace needs the full path of a folder or a drive."
                           : L"/wipefreespace takes one folder or drive, not " +
                                 std::to_wstring(command.paths.size()) + L".");
    }
    if (command.action != CommandAction::clean && command.action != CommandAction::preview)
        return command;
    const bool none = std::find(named.begin(), named.end(), true) == named.end();
    if (listGiven && none) return invalid(L"The area list names no area.");
    for (size_t row = 0; row < areas.size(); ++row)
        if (named[row] || none) command.areas.push_back(row);
    return command;
}

std::wstring usageText() {
    std::wstring text =
        L"Usage:\n"
        L"  purgeon.exe /clean [AREAS]    cleans the areas, without any window\n"
        L"  purgeon.exe /preview [AREAS]  tells what /clean would remove; removes nothing\n"
        L"  purgeon.exe /wipe PATH ...    wipes each file named and every file below each\n"
        L"                                folder named, at the stored shredding level\n"
        L"  purgeon.exe /wipefreespace FOLDER\n"
        L"                                wipes the free space of the volume holding the\n"
        L"                                folder, or of a drive (D:)\n"
        L"  purgeon.exe /help             shows this text (so does /?)\n"
        L"\n"
        L"AREAS: names separated by commas, in any case; without them, every area:\n";
    size_t width = 0;
    for (const Area* area : cleanAreas()) width = std::max(width, std::wstring(area->name).size());
    // Each area's text is wrapped below itself, past the column of names.
    const size_t indent = width + 4;
    for (const Area* area : cleanAreas()) {
        const std::wstring name = area->name;
        std::wstring line = L"  " + name + std::wstring(indent - 2 - name.size(), L' ');
        size_t start = 0;
        const std::wstring help = area->help;
        while (start < help.size()) {
            const size_t end = std::min(help.find(L' ', start), help.size());
            const std::wstring word = help.substr(start, end - start);
            if (line.size() > indent && line.size() + 1 + word.size() > kUsageWidth) {
                text += line + L"\n";
                line = std::wstring(indent, L' ');
            } else if (line.size() > indent) {
                line += L' ';
            }
            line += word;
            start = end + 1;
        }
        text += line + L"\n";
    }
    text +=
        L"\n"
        L"PATH and FOLDER are full paths. The wipes pass the Secure Wipe tab's guards and\n"
        L"ask nothing; what could not be wiped is named, with why.\n"
        L"\n"
        L"Exit codes: 0 when everything asked was done; 1 when some items could not be\n"
        L"(in use, refused by a guard, failed: the output or the log says which); 2 when\n"
        L"the arguments were not understood.\n"
        L"Examples: purgeon.exe /clean cookies,cache,temp\n"
        L"          purgeon.exe /wipe \"C:\\Users\\me\\Old letters\"\n"
        L"          purgeon.exe /wipefreespace D:\n";
    return text;
}

}  // namespace purgeon
