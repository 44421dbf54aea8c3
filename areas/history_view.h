// Rows of the Browser History list, with dates in the user's general date form.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "areas/url_history.h"
#include "platform/network_time.h"

namespace purgeon {

// Columns: "Title", "URL", "Last visited", "Last Updated", "Expires", "Flags".
inline constexpr size_t kHistoryColumns = 6;
using HistoryRow = std::array<std::wstring, kHistoryColumns>;

// Short date and long time; the date alone at exactly midnight; the time alone when the day is
// the zero date (30 December 1899).
std::wstring generalDateText(DateText& text, double value);

// One row per entry, in collection order, each property read once in column order.
std::vector<HistoryRow> historyRows(const CURLHistory& history, DateText& text);

}  // namespace purgeon
