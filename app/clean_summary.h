// What the window says of a run over several areas: the question before it, listing what each
// area would remove, and the summary after it, with how much was freed and what was left and why.
#pragma once

#include <cstdint>
#include <string>

#include "clean/clean_run.h"
#include "wipe/wipe_report.h"

namespace purgeon {

// The bytes the areas removed, as far as their sizes are known: an area's clean that gives no size
// but removed as many items as its preview counted freed the preview's bytes.
std::uint64_t freedBytes(const CleanReport& report, const CleanReport& preview);

// "Clean Now removes:" and a line per area ("Cache: 120 entries, 4.5 MB"), then "Clean these
// now?".
std::wstring cleanNowQuestion(const CleanReport& preview);

// "Freed 412.6 MB" ("Cleaned" when no area knows its size), then a line per area taken (what
// went, and what was left and why), the areas of the preview that a stop kept the run from, and
// what the browsers' parts ask of the user (browsersNotice). A run without a preview (a tab's own
// button) passes an empty one.
std::wstring cleanSummary(const CleanReport& report, const CleanReport& preview = {});

// "Close Chrome to clean it", one line per browser that held a profile, then "Not everything
// could be removed:" and the profiles not fully cleared; empty when there is none of either.
std::wstring browsersNotice(const BrowserClearing& clearing);

// "300 files wiped, 28.4 MB", and a second line with the count of those not wiped and why.
std::wstring folderWipeSummary(const WipeTally& tally, std::uint64_t bytes);

}  // namespace purgeon
