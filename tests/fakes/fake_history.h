// A history store in memory that counts every text it hands out and every text freed.
#pragma once

#include <cwchar>
#include <map>
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
        std::map<const wchar_t*, int> frees;   // text to how often it was freed
        std::vector<std::wstring> freedTexts;  // in order
        int handedOut = 0;
        int failNextAfter = -1;  // next() fails after this many records
        HResult enumResult = kOk;
        HResult clearResult = kOk;
        std::vector<std::wstring> deleted;
        bool datesFail = false;
    };

    explicit FakeHistoryStore(std::shared_ptr<Shared> shared) : m_shared(std::move(shared)) {}

    HResult enumUrls(std::unique_ptr<HistoryEnumerator>& enumerator) override {
        if (m_shared->enumResult < 0) return m_shared->enumResult;
        enumerator = std::make_unique<Enumerator>(m_shared);
        return kOk;
    }
    HResult addUrl(const wchar_t* url, const wchar_t* title, std::uint32_t flags) override {
        m_shared->entries.push_back({url, true, title, 0, flags});
        return kOk;
    }
    HResult deleteUrl(const wchar_t* url, std::uint32_t) override {
        m_shared->deleted.push_back(url);
        std::erase_if(m_shared->entries, [&](const HistoryEntry& e) { return e.url == url; });
        return kOk;
    }
    HResult clearHistory() override {
        if (m_shared->clearResult < 0) return m_shared->clearResult;
        m_shared->entries.clear();
        return kOk;
    }
    void freeText(wchar_t* text) override {
        m_shared->frees[text]++;
        m_shared->freedTexts.push_back(text);
        delete[] text;
    }
    bool localDate(std::int64_t fileTime, double& date) override {
        if (m_shared->datesFail) return false;
        date = static_cast<double>(fileTime) / 864000000000.0;
        return true;
    }

private:
    class Enumerator : public HistoryEnumerator {
    public:
        explicit Enumerator(std::shared_ptr<Shared> shared) : m_shared(std::move(shared)) {}
        HResult setFilter(const wchar_t*, std::uint32_t) override { return kOk; }
        HResult next(StatUrlRecord& record, unsigned long& fetched) override {
            if (m_shared->failNextAfter >= 0 &&
                m_position == static_cast<size_t>(m_shared->failNextAfter))
                return kFail;
            if (m_position >= m_shared->entries.size()) {
                fetched = 0;
                return kOk;
            }
            const HistoryEntry& e = m_shared->entries[m_position++];
            record.url = copy(e.url);
            record.title = e.hasTitle ? copy(e.title) : nullptr;
            record.lastVisited = e.visited;
            record.lastUpdated = e.visited;
            record.expires = e.visited;
            record.flags = e.flags;
            fetched = 1;
            return kOk;
        }

    private:
        wchar_t* copy(const std::wstring& text) {
            auto* buffer = new wchar_t[text.size() + 1];
            std::wmemcpy(buffer, text.c_str(), text.size() + 1);
            ++m_shared->handedOut;
            return buffer;
        }
        std::shared_ptr<Shared> m_shared;
        size_t m_position = 0;
    };

    std::shared_ptr<Shared> m_shared;
};

class FakeHistoryFactory : public HistoryStoreFactory {
public:
    std::unique_ptr<HistoryStore> create(HResult& hr) override {
        hr = createResult;
        if (createResult < 0) return nullptr;
        return std::make_unique<FakeHistoryStore>(shared);
    }
    std::shared_ptr<FakeHistoryStore::Shared> shared = std::make_shared<FakeHistoryStore::Shared>();
    HResult createResult = kOk;
};

}  // namespace purgeon::fakes
