// Other applications' traces as one area: the ticked, detected entries of the rule file.
#pragma once

#include "clean/app_rules.h"
#include "clean/area.h"
#include "rules/rule_targets.h"

namespace purgeon {

extern const Area kAppsArea;

// One detected entry and what its keys reach now.
struct DetectedApp {
    const RuleEntry* entry = nullptr;
    EntryTargets targets;
    bool ticked = false;
};

// Every detected entry of the rule file in file order, with what each reaches; nothing is
// removed. Stops between entries when asked.
std::vector<DetectedApp> detectApps(CleanContext& context, std::stop_token stop = {});

// "Notepad++ *: 3 files (12.4 KB), 0 registry items"; ", ticked" after a ticked one.
std::wstring appPreviewLine(const DetectedApp& app);

}  // namespace purgeon
