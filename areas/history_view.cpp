// Turning history entries into list rows.
#include "areas/history_view.h"

#include <cmath>

namespace purgeon {

std::wstring generalDateText(DateText& text, double value) {
    const double day = std::trunc(value);
    if (day == 0.0) return text.longTime(value);
    if (value == day) return text.shortDate(value);
    return text.shortDate(value) + L" " + text.longTime(value);
}

std::vector<HistoryRow> historyRows(const CURLHistory& history, DateText& text) {
    std::vector<HistoryRow> rows;
    for (const auto& item : history) {
        HistoryRow row;
        row[0] = item->Title();
        row[1] = item->URL();
        row[2] = generalDateText(text, item->LastVisited());
        row[3] = generalDateText(text, item->LastUpdated());
        row[4] = generalDateText(text, item->Expires());
        row[5] = std::to_wstring(item->Flags());
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace purgeon
