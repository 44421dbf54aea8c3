// Rows of the Browser History list, with dates in the user's general date form.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "areas/url_history.h"
#include "platform/collation.h"
#include "platform/date_text.h"

namespace purgeon {

// Columns: "Title", "URL", "Last visited", "Last Updated", "Expires", "Flags", "Browser".
inline constexpr size_t kHistoryColumns = 7;
// Column "Browser" of the history store's rows.
inline constexpr wchar_t kHistoryStoreBrowser[] = L"Internet Explorer";
using HistoryRow = std::array<std::wstring, kHistoryColumns>;

// Short date and long time; the date alone at exactly midnight; the time alone when the day is
// the zero date (30 December 1899).
std::wstring generalDateText(DateText& text, double value);

// One row per entry, in collection order, each property read once in column order.
std::vector<HistoryRow> historyRows(const CURLHistory& history, DateText& text);

// The list's order: ascending by the text of the sort column (key from 0), ignoring case in the
// user's language; rows with equal texts keep the collection's order.
bool historyRowBefore(const std::vector<HistoryRow>& rows, int key, std::size_t first,
                      std::size_t second, const Collation& collation);
// The row indexes in that order.
std::vector<std::size_t> historyOrder(const std::vector<HistoryRow>& rows, int key,
                                      const Collation& collation);

}  // namespace purgeon
