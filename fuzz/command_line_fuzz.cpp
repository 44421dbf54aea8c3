// Fuzz target: the program's arguments. The input holds them as UTF-8, one per line.
#include <cstdint>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "clean/area_table.h"
#include "browsers/utf8_text.h"
#include "fuzz/fuzz_support.h"

using namespace purgeon;
using namespace purgeon::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::wstring> arguments;
    if (size > 0)
        for (const std::string_view line : partsOf(bytesOf(data, size), '\n'))
            arguments.push_back(fromUtf8(line));

    const CommandLine command = parseCommandLine(arguments);
    const std::size_t areaCount = cleanAreas().size();
    check(!command.given == !command.error.empty() || command.window(),
          "a command line is a switch, the window, or says what was not understood",
          shown(command.error));
    check(arguments.empty() == command.window(),
          "only a start without arguments opens the windows");
    if (command.given && command.given->takes == SwitchTakes::areas) {
        check(!command.areas.empty(), "a clean or preview takes at least one area");
        for (std::size_t i = 0; i < command.areas.size(); ++i) {
            check(command.areas[i] < areaCount, "areas are rows of the table");
            check(i == 0 || command.areas[i - 1] < command.areas[i],
                  "areas come in table order, each once");
        }
    } else {
        check(command.areas.empty(), "only a clean or preview names areas");
    }
    // Switches and area names take any case.
    std::vector<std::wstring> upper;
    for (const std::wstring& argument : arguments) upper.push_back(asciiUpper(argument));
    const CommandLine shouted = parseCommandLine(upper);
    check(shouted.given == command.given && shouted.areas == command.areas,
          "the command line means the same in capitals");
    return 0;
}
