// The history of visited addresses as an area: the one history collection, and its preview and
// clean.
#pragma once

#include "clean/area.h"

namespace purgeon {

extern const Area kHistoryArea;

// Creates the history collection, reading the whole store, unless the store was asked for
// already; a store that is missing or cannot be read leaves none, and a line in the log.
// Gives the collection, or null.
CURLHistory* loadHistory(CleanState& state, HistoryStoreFactory& factory, RunLog& log);

}  // namespace purgeon
