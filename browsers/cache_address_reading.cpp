// Reading listed page-cache entries' addresses on several threads, the ones on screen first.
#include "browsers/cache_address_reading.h"

#include <atomic>
#include <exception>
#include <thread>
#include <utility>

namespace purgeon {

namespace {

// A long scroll asks for many entries: the latest matter, the oldest are let go.
constexpr std::size_t kMostWanted = 4096;

}  // namespace

void CacheAddressQueue::want(std::size_t entry) {
    const std::lock_guard<std::mutex> held(m_lock);
    if (m_wanted.size() >= kMostWanted)
        m_wanted.erase(m_wanted.begin(),
                       m_wanted.begin() + static_cast<std::ptrdiff_t>(kMostWanted / 2));
    m_wanted.push_back(entry);
}

void CacheAddressQueue::setCount(std::size_t count) {
    const std::lock_guard<std::mutex> held(m_lock);
    m_given.resize(count, false);
}

std::optional<CacheAddressQueue::Next> CacheAddressQueue::next() {
    const std::lock_guard<std::mutex> held(m_lock);
    while (!m_wanted.empty()) {
        const std::size_t entry = m_wanted.back();
        m_wanted.pop_back();
        if (entry < m_given.size() && !m_given[entry]) {
            m_given[entry] = true;
            return Next{entry, true};
        }
    }
    while (m_cursor < m_given.size()) {
        const std::size_t entry = m_cursor++;
        if (!m_given[entry]) {
            m_given[entry] = true;
            return Next{entry, false};
        }
    }
    return std::nullopt;
}

void readCacheAddresses(FileSystem& files, const std::vector<const FoundBrowserCache*>& caches,
                        CacheAddressQueue& queue, const CacheAddressHand& hand,
                        std::stop_token stop, std::size_t batchSize, std::size_t readers) {
    // Each entry's cache and place in it, by the entry's number.
    std::vector<std::pair<std::size_t, std::size_t>> places;
    for (std::size_t cache = 0; cache < caches.size(); ++cache)
        for (std::size_t index = 0; index < caches[cache]->pageEntries(); ++index)
            places.emplace_back(cache, index);
    queue.setCount(places.size());

    std::mutex lock;  // over what was read and not yet handed, the hand, and the failure
    std::vector<CacheAddress> read;
    std::exception_ptr failure;
    std::atomic<bool> failed{false};
    const auto handRead = [&] {
        std::vector<CacheAddress> batch;
        batch.swap(read);
        hand(std::move(batch));
    };
    const auto work = [&]() noexcept {
        try {
            while (!stop.stop_requested() && !failed) {
                const std::optional<CacheAddressQueue::Next> next = queue.next();
                if (!next) return;
                const auto [cache, index] = places[next->entry];
                CacheAddress address{next->entry, cache, index,
                                     readCacheAddress(files, *caches[cache], index)};
                const std::lock_guard<std::mutex> held(lock);
                read.push_back(std::move(address));
                if (read.size() >= batchSize || next->wanted) handRead();
            }
        } catch (...) {
            // Handed to the calling thread, which rethrows it once every reader has ended.
            const std::lock_guard<std::mutex> held(lock);
            if (!failure) failure = std::current_exception();
            failed = true;
        }
    };
    {
        std::vector<std::jthread> helpers;
        for (std::size_t reader = 1; reader < readers; ++reader) helpers.emplace_back(work);
        work();
    }
    if (failure) std::rethrow_exception(failure);
    if (!read.empty() && !stop.stop_requested()) handRead();
}

}  // namespace purgeon
