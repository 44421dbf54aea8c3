// Reading the arguments against the area table, and the usage text made from it.
#include "app/command_line.h"

#include <algorithm>
#include <cwctype>

#include "app/clean_areas.h"

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
    const std::span<const CleanArea> areas = cleanAreas();
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
            } else if (name == L"clean" || name == L"preview") {
                const CommandAction action =
                    name == L"clean" ? CommandAction::clean : CommandAction::preview;
                if (command.action != CommandAction::window && command.action != action)
                    fail(L"/clean and /preview cannot be given together.");
                command.action = action;
            } else {
                fail(L"Unknown switch: " + argument);
            }
            continue;
        }
        if (command.action == CommandAction::window) {
            fail(L"The area list belongs after /clean or /preview: " + argument);
            continue;
        }
        listGiven = true;
        size_t start = 0;
        while (start <= argument.size()) {
            const size_t comma = std::min(argument.find(L',', start), argument.size());
            const std::wstring item = trimmed(argument.substr(start, comma - start));
            start = comma + 1;
            if (item.empty()) continue;
            const auto row = std::find_if(areas.begin(), areas.end(), [&](const CleanArea& area) {
                return lowered(item) == area.name;
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
        L"  purgeon.exe /help             shows this text (so does /?)\n"
        L"\n"
        L"AREAS: names separated by commas, in any case; without them, every area:\n";
    size_t width = 0;
    for (const CleanArea& area : cleanAreas())
        width = std::max(width, std::wstring(area.name).size());
    // Each area's text is wrapped below itself, past the column of names.
    const size_t indent = width + 4;
    for (const CleanArea& area : cleanAreas()) {
        const std::wstring name = area.name;
        std::wstring line = L"  " + name + std::wstring(indent - 2 - name.size(), L' ');
        size_t start = 0;
        const std::wstring help = area.help;
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
        L"Exit codes: 0 when everything asked was done; 1 when some items could not be\n"
        L"(in use, refused by a guard, failed: the log says which); 2 when the arguments\n"
        L"were not understood.\n"
        L"Example: purgeon.exe /clean cookies,cache,temp\n";
    return text;
}

}  // namespace purgeon
