// The run loop over the areas.
#include "clean/clean_run.h"

#include <algorithm>

namespace purgeon {

bool CleanReport::done() const {
    return !stopped && std::all_of(entries.begin(), entries.end(),
                                   [](const Entry& entry) { return entry.result.done; });
}

const AreaResult* CleanReport::find(const Area& area) const {
    for (const Entry& entry : entries)
        if (entry.area == &area) return &entry.result;
    return nullptr;
}

CleanReport runClean(CleanContext& context, const CleanRun& run) {
    CleanReport report;
    for (const Area* area : run.areas) {
        if (run.stop.stop_requested()) {
            report.stopped = true;
            break;
        }
        if (run.onlyTicked &&
            !(area->autoTicked ? area->autoTicked(context)
                               : area->optionKey != nullptr &&
                                     optionValue(context.options, area->optionKey) == 1))
            continue;
        if (run.watch) run.watch->starting(*area);
        AreaResult result =
            run.mode == CleanMode::preview ? area->preview(context) : area->clean(context);
        if (run.mode == CleanMode::clean)
            for (const std::wstring& line : result.log) context.log.write(line);
        if (run.watch) run.watch->finished(*area, result);
        report.entries.push_back({area, std::move(result)});
    }
    return report;
}

}  // namespace purgeon
