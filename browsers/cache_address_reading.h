// Reading the addresses of listed page-cache entries on several threads, those on screen first.
#pragma once

#include <cstddef>
#include <functional>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "browsers/browser_cache.h"

namespace purgeon {

// Which page-cache entries to read next, numbered across a listing's caches in order: the ones
// asked for first, the latest asked first, then the rest in order. Each is given once.
class CacheAddressQueue {
public:
    // Any thread: the entry is wanted soon (it is on screen).
    void want(std::size_t entry);
    // There are count entries in all; until then none is given.
    void setCount(std::size_t count);
    // The next entry to read, and whether it was asked for; none when every one has been given.
    struct Next {
        std::size_t entry = 0;
        bool wanted = false;
    };
    std::optional<Next> next();

private:
    std::mutex m_lock;
    std::vector<std::size_t> m_wanted;
    std::vector<bool> m_given;
    std::size_t m_cursor = 0;
};

// An address read: the entry's number across the caches, and its place among them.
struct CacheAddress {
    std::size_t entry = 0;
    std::size_t cache = 0;
    std::size_t index = 0;  // in that cache's entries
    std::wstring url;       // empty when the entry names none
};
using CacheAddressHand = std::function<void(std::vector<CacheAddress>)>;

// Reads the address of every page-cache entry of the caches, on readers threads (the files must
// then serve several threads), in the queue's order. Hands what was read in batches of batchSize,
// and at once whenever an entry asked for was read; hand is called on one thread at a time. Ends
// early when asked to stop.
void readCacheAddresses(FileSystem& files, const std::vector<const FoundBrowserCache*>& caches,
                        CacheAddressQueue& queue, const CacheAddressHand& hand,
                        std::stop_token stop, std::size_t batchSize, std::size_t readers);

}  // namespace purgeon
