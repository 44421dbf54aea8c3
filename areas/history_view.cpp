// Turning history entries into list rows.
#include "areas/history_view.h"

#include <algorithm>

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
        row[6] = kHistoryStoreBrowser;
        rows.push_back(std::move(row));
    }
    return rows;
}

bool historyRowBefore(const std::vector<HistoryRow>& rows, int key, std::size_t first,
                      std::size_t second, const Collation& collation) {
    const auto column = static_cast<std::size_t>(key) < kHistoryColumns
                            ? static_cast<std::size_t>(key)
                            : std::size_t{0};
    const int order = collation.compareIgnoringCase(rows[first][column], rows[second][column]);
    if (order != 0) return order < 0;
    return first < second;
}

std::vector<std::size_t> historyOrder(const std::vector<HistoryRow>& rows, int key,
                                      const Collation& collation) {
    std::vector<std::size_t> order(rows.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return historyRowBefore(rows, key, a, b, collation);
    });
    return order;
}

}  // namespace purgeon
