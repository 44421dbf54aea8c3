// The one run over a selection of areas: preview or clean each in turn, and report what came of
// each.
#pragma once

#include <stop_token>
#include <vector>

#include "clean/area.h"
#include "clean/clean_context.h"

namespace purgeon {

// What a run tells as it goes, on the caller's thread: an area about to be taken, and what came
// of it.
class RunWatch {
public:
    virtual ~RunWatch() = default;
    virtual void starting(const Area& area) = 0;
    virtual void finished(const Area& area, const AreaResult& result) = 0;
};

struct CleanRun {
    std::vector<const Area*> areas;  // in the order they are taken
    CleanMode mode = CleanMode::clean;
    // The automatic runs: an area is taken only when its option is ticked, read from the
    // context's options when its turn comes.
    bool onlyTicked = false;
    // Asked to stop, the run takes no further area.
    std::stop_token stop;
    RunWatch* watch = nullptr;
};

// What a run came to: one result per area it took, in order.
struct CleanReport {
    struct Entry {
        const Area* area;
        AreaResult result;
    };
    std::vector<Entry> entries;
    bool stopped = false;  // asked to stop before it had taken every area

    // Every area taken, and each done.
    bool done() const;
    // The area's result; null when the run did not take it.
    const AreaResult* find(const Area& area) const;
};

// Takes the areas one after the other. A clean writes each area's lines to the log as soon as
// the area is done; a preview writes nothing and removes nothing.
CleanReport runClean(CleanContext& context, const CleanRun& run);

}  // namespace purgeon
