// A browser profile's cache entries and cache folders.
#include "browsers/browser_cache.h"

#include <algorithm>

#include <map>
#include <string_view>

#include "browsers/utf8_text.h"

namespace purgeon {

namespace {

// The simple cache's entry header: magic, version, key length, key hash and padding to eight
// bytes, then the key.
constexpr std::uint64_t kSimpleCacheMagic = 0xfcfb6d1ba7725c30ull;
constexpr size_t kSimpleHeader = 24;
// Firefox hashes an entry's content in chunks of this size.
constexpr std::uint64_t kFirefoxChunk = 256 * 1024;

std::uint32_t littleEndian32(const std::string& bytes, size_t at) {
    std::uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i)
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    return value;
}

std::uint32_t bigEndian32(const std::string& bytes, size_t at) {
    std::uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// An address, when the text is one: it starts with a web scheme.
std::wstring asAddress(const std::string& text) {
    if (text.rfind("http://", 0) != 0 && text.rfind("https://", 0) != 0) return {};
    return fromUtf8(text);
}

// The page cache's folder and how its entries are read.
struct PageCache {
    std::wstring folder;
    bool firefox;
};

PageCache pageCache(const BrowserProfile& profile) {
    if (profile.family == BrowserFamily::firefox)
        return {profile.cacheFolder + L"cache2\\entries\\", true};
    return {profile.cacheFolder + L"Cache\\Cache_Data\\", false};
}

}  // namespace

std::wstring chromiumCacheKeyUrl(const std::string& bytes) {
    if (bytes.size() < kSimpleHeader) return {};
    const std::uint64_t magic =
        littleEndian32(bytes, 0) | (static_cast<std::uint64_t>(littleEndian32(bytes, 4)) << 32);
    if (magic != kSimpleCacheMagic) return {};
    const std::uint32_t length = littleEndian32(bytes, 12);
    if (length > bytes.size() - kSimpleHeader) return {};
    // "1/0/_dk_https://a.test https://a.test https://a.test/x.png": the address is the last part.
    const std::string key = bytes.substr(kSimpleHeader, length);
    const size_t space = key.rfind(' ');
    return asAddress(space == std::string::npos ? key : key.substr(space + 1));
}

std::wstring firefoxCacheKeyUrl(const std::string& bytes) {
    if (bytes.size() < 8) return {};
    const std::uint64_t metadata = bigEndian32(bytes, bytes.size() - 4);
    if (metadata > bytes.size() - 4) return {};
    return firefoxMetadataKeyUrl(bytes.substr(static_cast<size_t>(metadata)), metadata);
}

std::wstring firefoxMetadataKeyUrl(const std::string& bytes, std::uint64_t metadata) {
    // The metadata: its own hash, one two-byte hash per chunk of 256 KiB of content (the content
    // ends where the metadata starts), eight fixed fields (the seventh the key's size), then the
    // key, "a,:http://b.test/y.js" or "O^partitionKey=...,a,:https://c.test/z.css"; the file's
    // last four bytes follow.
    if (bytes.size() < 4) return {};
    const std::uint64_t chunks = (metadata + kFirefoxChunk - 1) / kFirefoxChunk;
    const std::uint64_t fields = 4 + 2 * chunks;
    const std::uint64_t keyStart = fields + 32;
    if (keyStart > bytes.size() - 4) return {};
    const std::uint64_t keySize = bigEndian32(bytes, static_cast<size_t>(fields + 24));
    if (keySize > bytes.size() - 4 - keyStart) return {};
    const std::string key =
        bytes.substr(static_cast<size_t>(keyStart), static_cast<size_t>(keySize));
    // The address is what follows the tags: the first ":http://" or ":https://", whichever comes
    // first; the address itself may hold the other later on.
    const size_t at = std::min(key.find(":http://"), key.find(":https://"));
    return at == std::string::npos ? std::wstring() : asAddress(key.substr(at + 1));
}

std::vector<std::wstring> cacheFolders(const BrowserProfile& profile) {
    if (profile.family == BrowserFamily::firefox)
        return {profile.cacheFolder + L"cache2\\", profile.cacheFolder + L"thumbnails\\"};
    return {profile.cacheFolder + L"Cache\\", profile.cacheFolder + L"Code Cache\\",
            profile.cacheFolder + L"GPUCache\\"};
}

namespace {

// The most of a Chromium entry's start read at first: the header and any usual key.
constexpr std::size_t kChromiumHead = 4096;
// The most of a Firefox entry's metadata read: hashes, fields, key and elements; and the end of
// the file read at first, which holds the whole metadata of most entries.
constexpr std::uint64_t kLargestMetadata = 1 << 20;
constexpr std::uint64_t kFirefoxTail = 16384;

// The address an entry's file names, read from the part that holds it.
std::wstring entryAddress(FileSystem& files, const std::wstring& path, std::uint64_t size,
                          bool firefox) {
    std::string bytes;
    if (!firefox) {
        if (!files.readPart(path, 0, kChromiumHead, bytes).ok()) return {};
        if (bytes.size() >= kSimpleHeader && bytes.size() == kChromiumHead) {
            const std::uint64_t length = littleEndian32(bytes, 12);
            if (length + kSimpleHeader > kChromiumHead && length + kSimpleHeader <= size &&
                !files.readPart(path, 0, static_cast<size_t>(length + kSimpleHeader), bytes).ok())
                return {};
        }
        return chromiumCacheKeyUrl(bytes);
    }
    if (size < 8) return {};
    const std::uint64_t tailStart = size > kFirefoxTail ? size - kFirefoxTail : 0;
    if (!files.readPart(path, tailStart, static_cast<size_t>(size - tailStart), bytes).ok() ||
        bytes.size() != size - tailStart)
        return {};
    const std::uint64_t metadata = bigEndian32(bytes, bytes.size() - 4);
    if (metadata > size - 4 || size - metadata > kLargestMetadata) return {};
    if (metadata >= tailStart)
        return firefoxMetadataKeyUrl(bytes.substr(static_cast<size_t>(metadata - tailStart)),
                                     metadata);
    if (!files.readPart(path, metadata, static_cast<size_t>(size - metadata), bytes).ok())
        return {};
    return firefoxMetadataKeyUrl(bytes, metadata);
}

bool hexDigits(std::wstring_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](wchar_t c) {
        return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F');
    });
}

// The entry a page-cache file belongs to, by its name: Chromium keeps an entry in up to three
// files, "<hash>_0", "_1" and "_s"; Firefox in one named by its hash. Empty for any other file.
std::wstring_view entryOf(std::wstring_view name, bool firefox) {
    if (firefox) return hexDigits(name) ? name : std::wstring_view();
    const size_t underscore = name.rfind(L'_');
    if (underscore == std::wstring_view::npos) return {};
    const std::wstring_view stream = name.substr(underscore + 1);
    if (stream != L"0" && stream != L"1" && stream != L"s") return {};
    const std::wstring_view hash = name.substr(0, underscore);
    return hexDigits(hash) ? hash : std::wstring_view();
}

}  // namespace

FoundBrowserCache findBrowserCache(FileSystem& files, const BrowserProfile& profile) {
    const PageCache page = pageCache(profile);
    FoundBrowserCache found;
    found.firefox = page.firefox;
    std::map<std::wstring, size_t, std::less<>> byHash;
    static_cast<void>(files.listFolder(page.folder, [&](const DirEntry& item) {
        if (item.attributes & (kAttrDirectory | kAttrReparsePoint)) return;
        const std::wstring_view hash = entryOf(item.name, page.firefox);
        if (hash.empty()) return;
        auto known = byHash.find(hash);
        if (known == byHash.end()) {
            known = byHash.emplace(std::wstring(hash), found.entries.size()).first;
            found.entries.push_back({L"", {}, 0, 0});
            found.sizes.emplace_back();
        }
        BrowserCacheEntry& entry = found.entries[known->second];
        found.sizes[known->second].push_back(item.size);
        entry.files.push_back(page.folder + item.name);
        entry.bytes += item.size;
        ++entry.fileCount;
    }));
    // The other cache folders show as a whole; the page cache's own folder is listed above.
    for (const std::wstring& folder : cacheFolders(profile)) {
        if (page.folder.rfind(folder, 0) == 0) continue;
        const ProfileFiles listed = findProfileFiles(files, {folder});
        if (listed.count() > 0)
            found.entries.push_back({L"", {folder}, listed.bytes, listed.count()});
    }
    return found;
}

std::wstring readCacheAddress(FileSystem& files, const FoundBrowserCache& cache,
                              std::size_t entry) {
    if (entry >= cache.pageEntries()) return {};
    const BrowserCacheEntry& found = cache.entries[entry];
    std::wstring url;
    for (std::size_t file = 0; file < found.files.size() && url.empty(); ++file)
        url = entryAddress(files, found.files[file], cache.sizes[entry][file], cache.firefox);
    return url;
}

std::vector<BrowserCacheEntry> listBrowserCache(FileSystem& files, const BrowserProfile& profile) {
    FoundBrowserCache found = findBrowserCache(files, profile);
    std::vector<BrowserCacheEntry> entries;
    for (std::size_t index = 0; index < found.entries.size(); ++index) {
        BrowserCacheEntry& entry = found.entries[index];
        // Without an address: none of the page cache's addresses, nothing to show by one.
        if (index < found.pageEntries() &&
            (entry.url = readCacheAddress(files, found, index)).empty())
            continue;
        entries.push_back(std::move(entry));
    }
    return entries;
}

ProfileFiles findBrowserCacheFiles(FileSystem& files, const BrowserProfile& profile) {
    return findProfileFiles(files, cacheFolders(profile));
}

FileRemoval clearBrowserCache(FileSystem& files, const BrowserProfile& profile,
                              std::stop_token stop) {
    return removeProfileFiles(files, cacheFolders(profile), {}, stop);
}

FileRemoval removeCacheEntries(FileSystem& files, const std::vector<BrowserCacheEntry>& entries,
                               std::stop_token stop) {
    std::vector<std::wstring> folders;
    std::vector<std::wstring> single;
    for (const BrowserCacheEntry& entry : entries) {
        auto& into = entry.wholeFolder() ? folders : single;
        into.insert(into.end(), entry.files.begin(), entry.files.end());
    }
    return removeProfileFiles(files, folders, single, stop);
}

}  // namespace purgeon
