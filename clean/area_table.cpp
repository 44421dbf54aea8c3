// The table of areas. To add an area: its file in clean/ (or in the logic folder it belongs to)
// and its row here.
#include "clean/area_table.h"

#include "clean/apps_area.h"
#include "clean/browser_area.h"
#include "clean/cache_area.h"
#include "clean/cookie_area.h"
#include "clean/history_area.h"
#include "clean/recycle_bin_area.h"
#include "clean/temp_area.h"
#include "clean/windows_area.h"

namespace purgeon {

namespace {

constexpr const Area* kAreas[] = {
    &kCacheArea, &kCookieArea,   &kHistoryArea, &kRecycleBinArea,
    &kTempArea,  &kBrowsersArea, &kAppsArea,    &kWindowsArea,
};

}  // namespace

std::span<const Area* const> cleanAreas() { return kAreas; }

}  // namespace purgeon
