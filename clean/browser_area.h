// The ticked browser profiles as areas: each of their three parts, which the window's runs take
// along with the area of the same kind, and the browsers' area of the command line, which takes
// all three.
#pragma once

#include "clean/area.h"

namespace purgeon {

// The profiles' cookies (but the keep list's; of the cookie list's selected rows only, when the
// run acts on a shown list so), cache and history. A profile whose browser runs is left alone,
// which leaves the part not done.
extern const Area kBrowserCookiesArea;
extern const Area kBrowserCacheArea;
extern const Area kBrowserHistoryArea;

// All three parts, in that order, as one area.
extern const Area kBrowsersArea;

}  // namespace purgeon
