// The platform's URL history store: enumerate, add, delete and clear visited URLs.
#pragma once

#include <cstdint>
#include <memory>

namespace purgeon {

// Result codes as the store gives them: 0 success, negative failure.
using HResult = std::int32_t;
inline constexpr HResult kOk = 0;
inline constexpr HResult kNotImplemented = static_cast<HResult>(0x80004001u);
inline constexpr HResult kFail = static_cast<HResult>(0x80004005u);

// One history record as the enumerator fills it. The two texts belong to whoever receives the
// record and are released through HistoryStore::freeText.
struct StatUrlRecord {
    wchar_t* url = nullptr;
    wchar_t* title = nullptr;      // may be null
    std::int64_t lastVisited = 0;  // 100 ns units since 1601-01-01, UTC
    std::int64_t lastUpdated = 0;
    std::int64_t expires = 0;
    std::uint32_t flags = 0;
};

class HistoryEnumerator {
public:
    virtual ~HistoryEnumerator() = default;  // releases the enumerator
    virtual HResult setFilter(const wchar_t* filter, std::uint32_t flags) = 0;
    // Fills the record and sets fetched to 1, or sets fetched to 0 at the end.
    virtual HResult next(StatUrlRecord& record, unsigned long& fetched) = 0;
};

class HistoryStore {
public:
    virtual ~HistoryStore() = default;  // releases the store
    virtual HResult enumUrls(std::unique_ptr<HistoryEnumerator>& enumerator) = 0;
    virtual HResult addUrl(const wchar_t* url, const wchar_t* title, std::uint32_t flags) = 0;
    virtual HResult deleteUrl(const wchar_t* url, std::uint32_t flags) = 0;
    virtual HResult clearHistory() = 0;
    virtual void freeText(wchar_t* text) = 0;
    // A stored UTC time as a local date-time value (days since 1899-12-30, time as fraction);
    // false when a conversion step fails.
    virtual bool localDate(std::int64_t fileTime, double& date) = 0;
};

class HistoryStoreFactory {
public:
    virtual ~HistoryStoreFactory() = default;
    // Creates the store object; on failure the result is empty and hr says why.
    virtual std::unique_ptr<HistoryStore> create(HResult& hr) = 0;
};

}  // namespace purgeon
