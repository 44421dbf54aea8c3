// A browser profile's cache: its entries by address, and clearing every cache folder.
#pragma once

#include <cstdint>
#include <stop_token>
#include <string>
#include <vector>

#include "browsers/browser_files.h"
#include "browsers/browser_profile.h"
#include "platform/files.h"

namespace purgeon {

struct BrowserCacheEntry {
    // The address the entry holds; empty for a whole folder, and for an entry whose address is
    // not read (yet) or that names none.
    std::wstring url;
    std::vector<std::wstring> files;  // the entry's files, or the folder ("...\", ending in "\")
    std::uint64_t bytes = 0;
    std::size_t fileCount = 0;
    // One row for a whole cache folder rather than one entry.
    bool wholeFolder() const {
        return files.size() == 1 && !files.front().empty() && files.front().back() == L'\\';
    }
};

// The cache folders of the profile, each ending in "\": Chromium's Cache, Code Cache and
// GPUCache; Firefox's cache2 and thumbnails below Local app data.
std::vector<std::wstring> cacheFolders(const BrowserProfile& profile);

// A profile's cache as its folders name it, nothing read: first the entries of the page cache
// (Chromium's Cache_Data, Firefox's cache2\entries), their addresses still to read, then one per
// other cache folder that holds files.
struct FoundBrowserCache {
    std::vector<BrowserCacheEntry> entries;
    std::vector<std::vector<std::uint64_t>> sizes;  // of each page-cache entry's files
    bool firefox = false;
    std::size_t pageEntries() const { return sizes.size(); }
};
// Only files named as the cache names its entries ("<hex>_0", "_1", "_s"; Firefox's hex names)
// make page-cache entries: the cache's index and bookkeeping files do not.
FoundBrowserCache findBrowserCache(FileSystem& files, const BrowserProfile& profile);
// The address of a page-cache entry, from the first of its files that names one: of each file
// only the part that holds it is read. Empty when none does.
std::wstring readCacheAddress(FileSystem& files, const FoundBrowserCache& cache, std::size_t entry);

// One entry per cached address of the page cache, then one per other cache folder that holds
// files. Reading changes nothing.
std::vector<BrowserCacheEntry> listBrowserCache(FileSystem& files, const BrowserProfile& profile);

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
