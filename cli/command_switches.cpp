// The table of switches. To add a switch: its row here and its run in a file of its own.
#include "cli/command_switches.h"

#include "cli/area_command.h"
#include "cli/command_line.h"
#include "cli/command_run.h"
#include "cli/wipe_command.h"

namespace purgeon {

namespace {

int showUsage(CommandRun& run) {
    run.tell(usageText());
    return kExitDone;
}

constexpr CommandSwitch kSwitches[] = {
    {L"clean", nullptr, SwitchTakes::areas, L"/clean [AREAS]",
     L"cleans the areas, without any window", L"cleaning run from the command line (<arguments>).",
     runCleanSwitch},
    {L"preview", nullptr, SwitchTakes::areas, L"/preview [AREAS]",
     L"tells what /clean would remove; removes nothing",
     L"preview from the command line (<arguments>); nothing is removed.", runPreviewSwitch},
    {L"wipe", nullptr, SwitchTakes::paths, L"/wipe PATH ...",
     L"wipes each file named and every file below each folder named, at the stored shredding "
     L"level",
     L"wipe from the command line (<arguments>).", runWipeSwitch},
    {L"wipefreespace", nullptr, SwitchTakes::folder, L"/wipefreespace FOLDER",
     L"wipes the free space of the volume holding the folder, or of a drive (D:)",
     L"free-space wipe from the command line (<arguments>).", runFreeSpaceSwitch},
    {L"help", L"?", SwitchTakes::nothing, L"/help", L"shows this text (so does /?)", nullptr,
     showUsage},
};

}  // namespace

std::span<const CommandSwitch> commandSwitches() { return kSwitches; }

}  // namespace purgeon
