// Reading the arguments against the tables of switches and areas, and the usage text.
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

bool isSwitch(const std::wstring& argument) {
    return argument.size() > 1 && (argument[0] == L'/' || argument[0] == L'-');
}

// The row the switch names ("/WIPE", "-?"), or null.
const CommandSwitch* switchNamed(const std::wstring& argument) {
    const std::wstring name = lowered(argument.substr(1));
    for (const CommandSwitch& row : commandSwitches())
        if (name == row.name || (row.alias && name == row.alias)) return &row;
    return nullptr;
}

bool takesPaths(const CommandSwitch* row) {
    return row && (row->takes == SwitchTakes::paths || row->takes == SwitchTakes::folder);
}

// A path the run can act on without a current folder: "C:\...", "\\server\share\..."; and, for
// a folder, a drive alone ("D:").
bool fullPath(const std::wstring& path, SwitchTakes takes) {
    if (takes == SwitchTakes::folder && path.size() == 2 && path[1] == L':')
        return !plainPath(path + L"\\").empty();
    return !plainPath(path).empty();
}

// "/clean, /preview, /wipe or /wipefreespace": the switches that take something.
std::wstring switchesTaking(bool paths) {
    std::vector<std::wstring> names;
    for (const CommandSwitch& row : commandSwitches())
        if (row.takes != SwitchTakes::nothing && takesPaths(&row) == paths)
            names.push_back(std::wstring(L"/") + row.name);
    std::wstring text;
    for (size_t i = 0; i < names.size(); ++i)
        text += (i == 0 ? L"" : i + 1 == names.size() ? L" or " : L", ") + names[i];
    return text;
}

// The text wrapped to the console's width, after what `line` already holds (which may end a
// line of its own) and on further lines after `indent` blanks.
std::wstring wrapped(std::wstring line, const std::wstring& text, size_t indent) {
    std::wstring out;
    if (const size_t ended = line.rfind(L'\n'); ended != std::wstring::npos) {
        out = line.substr(0, ended + 1);
        line.erase(0, ended + 1);
    }
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = std::min(text.find(L' ', start), text.size());
        const std::wstring word = text.substr(start, end - start);
        if (line.size() > indent && line.size() + 1 + word.size() > kUsageWidth) {
            out += line + L"\n";
            line = std::wstring(indent, L' ');
        } else if (line.size() > indent) {
            line += L' ';
        }
        line += word;
        start = end + 1;
    }
    return out + line + L"\n";
}

// "  name" padded to the column, or on a line of its own when it reaches into the column.
std::wstring leftColumn(const std::wstring& name, size_t indent) {
    const std::wstring left = L"  " + name;
    if (left.size() + 2 > indent) return left + L"\n" + std::wstring(indent, L' ');
    return left + std::wstring(indent - left.size(), L' ');
}

CommandLine invalid(std::wstring error) {
    CommandLine command;
    command.error = std::move(error);
    return command;
}

}  // namespace

bool CommandLine::is(std::wstring_view name) const { return given && name == given->name; }

CommandLine parseCommandLine(const std::vector<std::wstring>& arguments) {
    CommandLine command;
    if (arguments.empty()) return command;
    const std::span<const CommandSwitch> switches = commandSwitches();
    const std::span<const Area* const> areas = cleanAreas();
    std::vector<bool> named(areas.size(), false);
    bool help = false;
    bool listGiven = false;
    std::wstring error;
    auto fail = [&](std::wstring text) {
        if (error.empty()) error = std::move(text);
    };

    for (const std::wstring& argument : arguments) {
        if (isSwitch(argument)) {
            const CommandSwitch* row = switchNamed(argument);
            if (!row) {
                fail(L"Unknown switch: " + argument);
            } else if (row->takes == SwitchTakes::nothing) {
                help = true;
            } else {
                if (command.given && command.given != row) {
                    const CommandSwitch* first = std::min(command.given, row);
                    const CommandSwitch* second = std::max(command.given, row);
                    fail(std::wstring(L"/") + first->name + L" and /" + second->name +
                         L" cannot be given together.");
                }
                command.given = row;
            }
            continue;
        }
        if (!command.given) {
            fail(L"The area list belongs after " + switchesTaking(false) + L", and paths after " +
                 switchesTaking(true) + L": " + argument);
            continue;
        }
        if (takesPaths(command.given)) {
            if (fullPath(argument, command.given->takes)) {
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
        for (const CommandSwitch& row : switches)
            if (row.takes == SwitchTakes::nothing) command.given = &row;
        return command;
    }
    if (!error.empty()) return invalid(error);
    const std::wstring name = std::wstring(L"/") + command.given->name;
    if (command.given->takes == SwitchTakes::paths && command.paths.empty())
        return invalid(name + L" needs the full path of at least one file or folder.");
    if (command.given->takes == SwitchTakes::folder && command.paths.size() != 1) {
        return invalid(command.paths.empty()
                           ? name + L" needs the full path of a folder or a drive."
                           : name + L" takes one folder or drive, not " +
                                 std::to_wstring(command.paths.size()) + L".");
    }
    if (command.given->takes != SwitchTakes::areas) return command;
    const bool none = std::find(named.begin(), named.end(), true) == named.end();
    if (listGiven && none) return invalid(L"The area list names no area.");
    for (size_t row = 0; row < areas.size(); ++row)
        if (named[row] || none) command.areas.push_back(row);
    return command;
}

std::wstring usageText() {
    constexpr size_t kSwitchColumn = 32;
    std::wstring text = L"Usage:\n";
    for (const CommandSwitch& row : commandSwitches())
        text += wrapped(leftColumn(std::wstring(L"purgeon.exe ") + row.synopsis, kSwitchColumn),
                        row.usage, kSwitchColumn);
    text += L"\nAREAS: names separated by commas, in any case; without them, every area:\n";
    size_t width = 0;
    for (const Area* area : cleanAreas()) width = std::max(width, std::wstring(area->name).size());
    // Each area's text is wrapped below itself, past the column of names.
    const size_t indent = width + 4;
    for (const Area* area : cleanAreas())
        text += wrapped(leftColumn(area->name, indent), area->help, indent);
    text +=
        L"\n"
        L"PATH and FOLDER are full paths. The wipes pass the Secure Wipe tab's guards and\n"
        L"ask nothing; what could not be wiped is named, with why.\n"
        L"\n";
    std::wstring codes = L"Exit codes:";
    for (size_t i = 0; i < std::size(kExitCodes); ++i) {
        codes += (i == 0 ? L" " : L"; ") + std::to_wstring(kExitCodes[i].code) + L" when " +
                 kExitCodes[i].meaning;
    }
    text += wrapped(L"", codes + L".", 0);
    text +=
        L"Examples: purgeon.exe /clean cookies,cache,temp\n"
        L"          purgeon.exe /wipe \"C:\\Users\\me\\Old letters\"\n"
        L"          purgeon.exe /wipefreespace D:\n";
    return text;
}

std::wstring argumentsForLog(const std::vector<std::wstring>& arguments) {
    std::wstring text;
    bool paths = false;
    for (const std::wstring& argument : arguments) {
        const bool named = isSwitch(argument);
        if (named) paths = takesPaths(switchNamed(argument));
        text += (text.empty() ? L"" : L" ") + (paths && !named ? L"<path>" : argument);
    }
    return text;
}

}  // namespace purgeon
