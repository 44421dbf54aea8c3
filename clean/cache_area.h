// The URL cache as an area: its listing, and its preview and clean, which spare the cookie and
// password entries unless "Delete Cached passwords" is ticked.
#pragma once

#include "areas/cache_list.h"
#include "clean/area.h"

namespace purgeon {

extern const Area kCacheArea;

// Lists the URL cache afresh into the list; a walk that breaks off leaves a line in the log.
Status listCache(CleanContext& context, CacheList& list);

}  // namespace purgeon
