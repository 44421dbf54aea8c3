// CURLHistory and URLHistoryItem: the visited-URL history as an ordered collection.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/history_store.h"

namespace purgeon {

// A failure of the history store, with its result code. Callers decide what to do with it.
class HistoryError : public std::runtime_error {
public:
    HistoryError(const char* what, long code) : std::runtime_error(what), m_code(code) {}
    long code() const { return m_code; }

private:
    long m_code;
};

// One history entry: a record of the store.
class URLHistoryItem {
public:
    URLHistoryItem(HistoryStore& store, StatUrlRecord record)
        : m_store(store), m_record(std::move(record)) {}
    URLHistoryItem(const URLHistoryItem&) = delete;
    URLHistoryItem& operator=(const URLHistoryItem&) = delete;

    // Dates are converted to local time on every read; the zero date when conversion fails.
    double LastVisited() const { return localDate(m_record.lastVisited); }
    double Expires() const { return localDate(m_record.expires); }
    double LastUpdated() const { return localDate(m_record.lastUpdated); }
    // Texts are copied when read; a missing title reads as empty text.
    std::wstring URL() const { return m_record.url; }
    std::int32_t Flags() const { return static_cast<std::int32_t>(m_record.flags); }
    std::wstring Title() const { return m_record.title; }

private:
    double localDate(std::int64_t fileTime) const;

    HistoryStore& m_store;
    StatUrlRecord m_record;
};

class CURLHistory {
public:
    // Creates the store object and reads the whole history. Throws HistoryError when the store
    // cannot be created or read.
    explicit CURLHistory(HistoryStoreFactory& factory);

    void AddURL(const std::wstring& url, const std::wstring& title, std::uint32_t flags);
    std::int32_t Count() const { return static_cast<std::int32_t>(m_items.size()); }
    // Clears the store, then reads what it still holds.
    void Clear();
    // Replaces the collection with the store's entries; on a failure part-way the entries read so
    // far stay.
    void Refresh(const std::wstring& filter = L"", std::uint32_t flags = 0);
    // Positions count from 1; out of range throws before anything happens.
    const URLHistoryItem& Item(std::int32_t index) const;
    // Deletes that entry's URL from the store and drops it from the collection, without a refresh.
    void Remove(std::int32_t index);
    void DeleteURL(const std::wstring& url, std::uint32_t flags);

    // Iteration in collection order.
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    static void check(const Status& status, const char* what);
    size_t position(std::int32_t index) const;

    std::unique_ptr<HistoryStore> m_store;
    std::vector<std::unique_ptr<URLHistoryItem>> m_items;
};

}  // namespace purgeon
