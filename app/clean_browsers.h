// The command line's "browsers" area: the ticked browser profiles' cookies, cache and history.
#pragma once

#include "app/clean_areas.h"

namespace purgeon {

// Counts the cookies (less the kept ones), cache files and visited pages that a clean would
// remove; removes nothing.
AreaOutcome previewBrowsers(AreaRun& run);
// Clears the three areas of every ticked profile, honouring the keep list; a profile whose
// browser runs is left alone, which leaves the area not done.
AreaOutcome cleanBrowsers(AreaRun& run);

}  // namespace purgeon
