// Removing what one entry of the rules reaches now: its files behind the shredder's checks, the
// folders it empties, its registry items; for the applications' and the Windows areas alike.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stop_token>
#include <string>
#include <vector>

#include "clean/clean_context.h"
#include "clean/operation.h"
#include "platform/trace_system.h"
#include "rules/rule_targets.h"
#include "wipe/wipe_report.h"

namespace purgeon {

struct EntryClean {
    std::size_t removed = 0;
    std::uint64_t bytes = 0;
    std::size_t registry = 0;
    WipeTally left;                   // files not removed, by reason
    std::vector<std::wstring> inUse;  // the names of the files another program holds
    std::size_t registryFailed = 0;
    std::size_t folders = 0;
};

// Removes the targets' files (overwritten once first with wipe), then, unless stopped, their
// emptied folders and registry items. progress goes on from where it stands.
EntryClean cleanTargets(CleanContext& context, TraceSystem& system, const EntryTargets& targets,
                        bool wipe, std::stop_token stop, ProgressSink& sink,
                        BatchProgress& progress);

// "3 files and 2 registry items removed, 1 folder; left: 1 in use (thumbcache_256.db); ..."
std::wstring entryCleanText(const EntryClean& done, const EntryTargets& targets);

}  // namespace purgeon
