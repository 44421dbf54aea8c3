// A history store in memory whose results and dates the tests choose.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/history_store.h"

namespace purgeon::fakes {

struct HistoryEntry {
    std::wstring url;
    bool hasTitle = true;
    std::wstring title;
    std::int64_t visited = 0;
    std::uint32_t flags = 0;
};

class FakeHistoryStore : public HistoryStore {
public:
    struct Shared {
        std::vector<HistoryEntry> entries;
        int failNextAfter = -1;  // next() fails after this many records
        long enumResult = 0;
        long clearResult = 0;
        std::vector<std::wstring> deleted;
        bool datesFail = false;
    };

    explicit FakeHistoryStore(std::shared_ptr<Shared> shared) : m_shared(std::move(shared)) {}

    Status enumUrls(std::unique_ptr<HistoryEnumerator>& enumerator) override {
        if (m_shared->enumResult != 0) return Status::error(m_shared->enumResult);
        enumerator = std::make_unique<Enumerator>(m_shared);
        return {};
    }
    Status addUrl(const std::wstring& url, const std::wstring& title,
                  std::uint32_t flags) override {
        m_shared->entries.push_back({url, true, title, 0, flags});
        return {};
    }
    Status deleteUrl(const std::wstring& url, std::uint32_t) override {
        m_shared->deleted.push_back(url);
        std::erase_if(m_shared->entries, [&](const HistoryEntry& e) { return e.url == url; });
        return {};
    }
    Status clearHistory() override {
        if (m_shared->clearResult != 0) return Status::error(m_shared->clearResult);
        m_shared->entries.clear();
        return {};
    }
    Status localDate(std::int64_t fileTime, double& date) override {
        if (m_shared->datesFail) return Status::error(kErrorInvalidParameter);
        date = static_cast<double>(fileTime) / 864000000000.0;
        return {};
    }

private:
    class Enumerator : public HistoryEnumerator {
    public:
        explicit Enumerator(std::shared_ptr<Shared> shared) : m_shared(std::move(shared)) {}
        Status setFilter(const std::wstring&, std::uint32_t) override { return {}; }
        Status next(StatUrlRecord& record, bool& fetched) override {
            if (m_shared->failNextAfter >= 0 &&
                m_position == static_cast<size_t>(m_shared->failNextAfter))
                return Status::error(kFail);
            if (m_position >= m_shared->entries.size()) {
                fetched = false;
                return {};
            }
            const HistoryEntry& e = m_shared->entries[m_position++];
            record.url = e.url;
            record.title = e.hasTitle ? e.title : std::wstring();
            record.lastVisited = e.visited;
            record.lastUpdated = e.visited;
            record.expires = e.visited;
            record.flags = e.flags;
            fetched = true;
            return {};
        }

    private:
        std::shared_ptr<Shared> m_shared;
        size_t m_position = 0;
    };

    std::shared_ptr<Shared> m_shared;
};

class FakeHistoryFactory : public HistoryStoreFactory {
public:
    Status create(std::unique_ptr<HistoryStore>& store) override {
        if (createResult != 0) return Status::error(createResult);
        store = std::make_unique<FakeHistoryStore>(shared);
        return {};
    }
    std::shared_ptr<FakeHistoryStore::Shared> shared = std::make_shared<FakeHistoryStore::Shared>();
    long createResult = 0;
};

}  // namespace purgeon::fakes
