// The order a list shows its rows in: by one column, ascending or descending, rows that compare
// equal in the order they were listed. Kept as rows are added, batch by batch. And type-to-find.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/collation.h"

namespace purgeon {

// Column -1: the listing's own order.
inline constexpr int kListingOrder = -1;

class ListOrder {
public:
    explicit ListOrder(int column = kListingOrder) : m_column(column) {}
    int column() const { return m_column; }
    bool ascending() const { return m_ascending; }
    std::size_t size() const { return m_rows.size(); }
    // The row shown at a place.
    std::size_t rowAt(std::size_t place) const { return m_rows[place]; }
    const std::vector<std::uint32_t>& rows() const { return m_rows; }

    void clear() { m_rows.clear(); }

    // The column to sort by: the same column again turns the order round; another starts
    // ascending. Then sorts every row: less(a, b) compares rows a and b by the new column.
    template <typename Less>
    void sortBy(int column, Less less) {
        if (column == m_column) {
            m_ascending = !m_ascending;
        } else {
            m_column = column;
            m_ascending = true;
        }
        resort(less);
    }
    // Sets the column and direction as they are and sorts.
    template <typename Less>
    void setSort(int column, bool ascending, Less less) {
        m_column = column;
        m_ascending = ascending;
        resort(less);
    }

    // Rows from the end of what was there up to count were added: they join in order.
    template <typename Less>
    void added(std::size_t count, Less less) {
        const std::size_t first = m_rows.size();
        for (std::size_t row = first; row < count; ++row)
            m_rows.push_back(static_cast<std::uint32_t>(row));
        if (m_column != kListingOrder) mergeFrom(first, less);
    }

    // The given rows changed in the sorted column: they move to their new places.
    template <typename Less>
    void changed(const std::vector<std::uint32_t>& rows, Less less) {
        if (m_column == kListingOrder || rows.empty()) return;
        std::vector<bool> moving(m_rows.size(), false);
        for (const std::uint32_t row : rows)
            if (row < moving.size()) moving[row] = true;
        std::erase_if(m_rows, [&](std::uint32_t row) { return moving[row]; });
        const std::size_t first = m_rows.size();
        for (std::uint32_t row = 0; row < moving.size(); ++row)
            if (moving[row]) m_rows.push_back(row);
        mergeFrom(first, less);
    }

private:
    // Sorts the rows from first on and merges them into the sorted ones before.
    template <typename Less>
    void mergeFrom(std::size_t first, Less less) {
        const auto middle = m_rows.begin() + static_cast<std::ptrdiff_t>(first);
        const auto before = comparer(less);
        std::sort(middle, m_rows.end(), before);
        std::inplace_merge(m_rows.begin(), middle, m_rows.end(), before);
    }
    template <typename Less>
    auto comparer(Less less) const {
        return [less, ascending = m_ascending](std::uint32_t a, std::uint32_t b) {
            if (ascending ? less(a, b) : less(b, a)) return true;
            if (ascending ? less(b, a) : less(a, b)) return false;
            return a < b;
        };
    }
    template <typename Less>
    void resort(Less less) {
        std::sort(m_rows.begin(), m_rows.end());
        if (m_column != kListingOrder) std::sort(m_rows.begin(), m_rows.end(), comparer(less));
    }

    std::vector<std::uint32_t> m_rows;
    int m_column = kListingOrder;
    bool m_ascending = true;
};

// Compares two sort keys (Collation::sortKey) byte by byte, unsigned.
inline bool keyBefore(std::string_view a, std::string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    const int order = common == 0 ? 0 : std::memcmp(a.data(), b.data(), common);
    return order != 0 ? order < 0 : a.size() < b.size();
}

// Type-to-find: the first place from start on (wrapping to the top when asked) whose text (textAt
// gives it) is the wanted text, or starts with it when partial, ignoring case letter by letter; -1
// when there is none. An empty wanted text matches the start place.
template <typename TextAt>
int findListRow(std::size_t count, const TextAt& textAt, std::wstring_view wanted, bool partial,
                int start, bool wrap, const Collation& collation) {
    const int rows = static_cast<int>(count);
    if (rows == 0) return -1;
    if (start < 0 || start >= rows) start = 0;
    const int steps = wrap ? rows : rows - start;
    for (int step = 0; step < steps; ++step) {
        const int place = (start + step) % rows;
        const std::wstring_view text = textAt(static_cast<std::size_t>(place));
        if (partial ? text.size() < wanted.size() : text.size() != wanted.size()) continue;
        if (collation.equalIgnoringCase(text.substr(0, wanted.size()), wanted)) return place;
    }
    return -1;
}

}  // namespace purgeon
