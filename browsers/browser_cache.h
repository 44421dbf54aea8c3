// A browser profile's cache: its entries by address, and clearing every cache folder.
#pragma once

#include <cstdint>
#include <functional>
#include <stop_token>
#include <string>
#include <vector>

#include "browsers/browser_files.h"
#include "browsers/browser_profile.h"
#include "platform/files.h"

namespace purgeon {

struct BrowserCacheEntry {
    std::wstring url;                 // the address the entry holds; empty for a whole folder
    std::vector<std::wstring> files;  // the entry's files, or the folder ("...\", ending in "\")
    std::uint64_t bytes = 0;
    std::size_t fileCount = 0;
};

// The cache folders of the profile, each ending in "\": Chromium's Cache, Code Cache and
// GPUCache; Firefox's cache2 and thumbnails below Local app data.
std::vector<std::wstring> cacheFolders(const BrowserProfile& profile);

// One entry per cached address of the page cache (Chromium's Cache_Data, Firefox's
// cache2\entries), then one per other cache folder that holds files. Reading changes nothing:
// of each entry only the part that holds its address is read.
std::vector<BrowserCacheEntry> listBrowserCache(FileSystem& files, const BrowserProfile& profile);
// The same, handed over in batches of at most batchSize entries as they are read, in the same
// order; ends early when asked to stop. readers entries are read at once, each on a thread of its
// own (the files must then serve several threads).
using CacheEntriesHand = std::function<void(std::vector<BrowserCacheEntry>)>;
void listBrowserCache(FileSystem& files, const BrowserProfile& profile,
                      const CacheEntriesHand& hand, std::stop_token stop,
                      std::size_t batchSize = 512, std::size_t readers = 1);

// What clearBrowserCache removes, found by listing the cache folders alone: no file is read.
ProfileFiles findBrowserCacheFiles(FileSystem& files, const BrowserProfile& profile);
// Overwrites once and removes every file of every cache folder.
FileRemoval clearBrowserCache(FileSystem& files, const BrowserProfile& profile,
                              std::stop_token stop = {});

// Overwrites once and removes the files of the given entries.
FileRemoval removeCacheEntries(FileSystem& files, const std::vector<BrowserCacheEntry>& entries,
                               std::stop_token stop = {});

// The address a cache entry file names: Chromium's simple-cache header key, or the key at the
// end of a Firefox cache2 entry. Empty when the bytes hold none.
std::wstring chromiumCacheKeyUrl(const std::string& bytes);
std::wstring firefoxCacheKeyUrl(const std::string& bytes);
// The same from the end of a Firefox entry: its metadata, read from where the file's last four
// bytes say it starts (metadataStart) to the end of the file.
std::wstring firefoxMetadataKeyUrl(const std::string& metadata, std::uint64_t metadataStart);

}  // namespace purgeon
