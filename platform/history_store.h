// The platform's URL history store: enumerate, add, delete and clear visited URLs.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/status.h"

namespace purgeon {

// The store answers in COM result codes, carried in Status::code (negative on failure).
inline constexpr long kNotImplemented = static_cast<std::int32_t>(0x80004001u);
inline constexpr long kFail = static_cast<std::int32_t>(0x80004005u);

// One history record as the enumerator fills it.
struct StatUrlRecord {
    std::wstring url;
    std::wstring title;            // empty when the store has none
    std::int64_t lastVisited = 0;  // 100 ns units since 1601-01-01, UTC
    std::int64_t lastUpdated = 0;
    std::int64_t expires = 0;
    std::uint32_t flags = 0;
};

class HistoryEnumerator {
public:
    virtual ~HistoryEnumerator() = default;  // releases the enumerator
    // Limits the walk to URLs that start with filter; an empty filter lists everything.
    virtual Status setFilter(const std::wstring& filter, std::uint32_t flags) = 0;
    // Fills the record and sets fetched, or clears fetched at the end.
    virtual Status next(StatUrlRecord& record, bool& fetched) = 0;
};

class HistoryStore {
public:
    virtual ~HistoryStore() = default;  // releases the store
    virtual Status enumUrls(std::unique_ptr<HistoryEnumerator>& enumerator) = 0;
    virtual Status addUrl(const std::wstring& url, const std::wstring& title,
                          std::uint32_t flags) = 0;
    virtual Status deleteUrl(const std::wstring& url, std::uint32_t flags) = 0;
    virtual Status clearHistory() = 0;
    // A stored UTC time as a local date-time value (days since 1899-12-30, time as fraction).
    virtual Status localDate(std::int64_t fileTime, double& date) = 0;
};

class HistoryStoreFactory {
public:
    virtual ~HistoryStoreFactory() = default;
    // Creates the store object; on failure the store stays empty and the status says why.
    virtual Status create(std::unique_ptr<HistoryStore>& store) = 0;
};

}  // namespace purgeon
