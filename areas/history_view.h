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

// One row of the list: its dates and flags, and where its title, its address and their sort keys
// are kept. A long history holds a hundred thousand rows or more, so their texts live in blocks
// shared by a whole batch rather than in four strings of their own.
struct HistoryEntry {
    static constexpr double kNoDate = -HUGE_VAL;  // shown empty, sorted first

    double visited = kNoDate;  // local date-time values (DateText)
    double updated = kNoDate;
    double expires = kNoDate;
    std::optional<std::int32_t> flags;
    std::uint32_t browser = 0;  // its place in HistoryList::browsers()
    std::uint32_t block = 0;    // the batch whose blocks hold its texts
    // The title then the address, from text on; their keys (Collation::sortKey) from key on.
    std::uint32_t text = 0;
    std::uint32_t titleLength = 0;
    std::uint32_t urlLength = 0;
    std::uint32_t key = 0;
    std::uint32_t titleKeyLength = 0;
    std::uint32_t urlKeyLength = 0;
};

// What a listing hands over: one browser's (or the store's) rows, their sort keys made ahead (off
// the window's thread).
class HistoryBatch {
public:
    HistoryBatch(std::wstring browser, const Collation& collation);
    // Adds a row: the entry brings its dates and flags, the places of its texts are set here.
    void add(std::wstring_view title, std::wstring_view url, HistoryEntry entry,
             const Collation& collation);
    std::size_t size() const { return m_entries.size(); }

private:
    friend class HistoryList;

    std::wstring m_browser;
    std::string m_browserKey;
    std::vector<HistoryEntry> m_entries;
    std::wstring m_texts;
    std::string m_keys;
};

// The history store's entries, each property read once in column order, their keys made.
HistoryBatch historyStoreBatch(const CURLHistory& history, const Collation& collation);

class HistoryList {
public:
    void clear();
    // Adds a batch after the rows there are; the shown order takes them in.
    void add(HistoryBatch batch);

    std::size_t size() const { return m_entries.size(); }
    // The title of the row shown at a place, and the text of one of its columns (from 0).
    std::wstring_view title(std::size_t place) const { return title(shown(place)); }
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
    // A batch's texts and keys, kept as it handed them over.
    struct Block {
        std::wstring texts;
        std::string keys;
    };

    const HistoryEntry& shown(std::size_t place) const { return m_entries[m_order.rowAt(place)]; }
    std::wstring_view title(const HistoryEntry& entry) const;
    std::wstring_view url(const HistoryEntry& entry) const;
    std::string_view titleKey(const HistoryEntry& entry) const;
    std::string_view urlKey(const HistoryEntry& entry) const;
    bool before(std::uint32_t a, std::uint32_t b) const;
    std::uint32_t browserIndex(const std::wstring& browser, std::string key);

    std::vector<HistoryEntry> m_entries;
    std::vector<Block> m_blocks;
    std::vector<std::wstring> m_browsers;
    std::vector<std::string> m_browserKeys;
    ListOrder m_order{0};  // by title until a header is clicked
};

}  // namespace purgeon
