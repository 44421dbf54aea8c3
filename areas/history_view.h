// The Browser History list: its rows, the texts of their columns, and their order.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "areas/list_order.h"
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

// One row of the list, with what sorts it made ahead (off the window's thread).
struct HistoryEntry {
    static constexpr double kNoDate = -HUGE_VAL;  // shown empty, sorted first

    std::wstring title;
    std::wstring url;
    double visited = kNoDate;  // local date-time values (DateText)
    double updated = kNoDate;
    double expires = kNoDate;
    std::optional<std::int32_t> flags;
    std::uint32_t browser = 0;  // its place in HistoryList::browsers()
    std::string titleKey;       // Collation::sortKey of the title and of the address
    std::string urlKey;
};

// What a listing hands over: one browser's (or the store's) rows.
struct HistoryBatch {
    std::wstring browser;
    std::string browserKey;
    std::vector<HistoryEntry> entries;
};

// The history store's entries, each property read once in column order, their keys made.
HistoryBatch historyStoreBatch(const CURLHistory& history, const Collation& collation);
// An entry of a browser's history: title, address and the last visit (0: unknown).
HistoryEntry browserHistoryEntry(std::wstring title, std::wstring url, double visited,
                                 const Collation& collation);

class HistoryList {
public:
    void clear();
    // Adds a batch after the rows there are; the shown order takes them in.
    void add(HistoryBatch batch);

    std::size_t size() const { return m_entries.size(); }
    // The row shown at a place, and the text of one of its columns (from 0).
    const HistoryEntry& shown(std::size_t place) const { return m_entries[m_order.rowAt(place)]; }
    std::wstring text(std::size_t place, std::size_t column, DateText& dates) const;
    const std::vector<std::wstring>& browsers() const { return m_browsers; }

    // Sorts by a column (from 0): the same column again turns the order round.
    void sortBy(int column);
    int sortColumn() const { return m_order.column(); }
    bool ascending() const { return m_order.ascending(); }
    // Type-to-find over the shown order, by the title (findListRow): a place, or -1.
    int find(std::wstring_view wanted, bool partial, int start, bool wrap,
             const Collation& collation) const;

private:
    bool before(std::uint32_t a, std::uint32_t b) const;
    std::uint32_t browserIndex(const std::wstring& browser, std::string key);

    std::vector<HistoryEntry> m_entries;
    std::vector<std::wstring> m_browsers;
    std::vector<std::string> m_browserKeys;
    ListOrder m_order{0};  // by title until a header is clicked
};

}  // namespace purgeon
