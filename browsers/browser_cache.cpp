// A browser profile's cache entries and cache folders.
#include "browsers/browser_cache.h"

#include <algorithm>

#include <map>

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

std::wstring fileNameOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
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
    // The last four bytes give where the metadata starts: its own hash, one two-byte hash per
    // chunk of 256 KiB of content, eight fixed fields (the seventh the key's size), then the key,
    // "a,:http://b.test/y.js" or "O^partitionKey=...,a,:https://c.test/z.css".
    if (bytes.size() < 8) return {};
    const std::uint64_t metadata = bigEndian32(bytes, bytes.size() - 4);
    const std::uint64_t chunks = (metadata + kFirefoxChunk - 1) / kFirefoxChunk;
    const std::uint64_t fields = metadata + 4 + 2 * chunks;
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

std::vector<BrowserCacheEntry> listBrowserCache(FileSystem& files, const BrowserProfile& profile) {
    std::vector<BrowserCacheEntry> entries;
    const PageCache page = pageCache(profile);
    // Chromium keeps an entry in up to three files, "<hash>_0", "_1" and "_s".
    std::map<std::wstring, size_t> byHash;
    std::uint64_t pageBytes = 0;
    const FoundFileList pageFiles = listProfileFiles(files, page.folder, &pageBytes);
    for (size_t i = 1; i < pageFiles.size(); ++i) {
        const std::wstring& path = pageFiles[i];
        std::uint64_t bytes = 0;
        (void)files.fileSize(path, bytes);
        const std::wstring name = fileNameOf(path);
        const size_t underscore = name.rfind(L'_');
        const std::wstring hash =
            page.firefox || underscore == std::wstring::npos ? name : name.substr(0, underscore);
        const auto known = byHash.find(hash);
        if (known != byHash.end()) {
            BrowserCacheEntry& entry = entries[known->second];
            entry.files.push_back(path);
            entry.bytes += bytes;
            ++entry.fileCount;
            continue;
        }
        std::string content;
        std::wstring url;
        if (files.readFile(path, content).ok())
            url = page.firefox ? firefoxCacheKeyUrl(content) : chromiumCacheKeyUrl(content);
        if (url.empty()) continue;  // the cache's own index and bookkeeping files
        byHash[hash] = entries.size();
        entries.push_back({url, {path}, bytes, 1});
    }
    // The other cache folders show as a whole; the page cache's own folder is listed above.
    for (const std::wstring& folder : cacheFolders(profile)) {
        if (page.folder.rfind(folder, 0) == 0) continue;
        BrowserCacheEntry whole{L"", {folder}, 0, 0};
        const FoundFileList found = listProfileFiles(files, folder, &whole.bytes);
        whole.fileCount = found.size() - 1;
        if (whole.fileCount > 0) entries.push_back(std::move(whole));
    }
    return entries;
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
        auto& into = entry.url.empty() ? folders : single;
        into.insert(into.end(), entry.files.begin(), entry.files.end());
    }
    return removeProfileFiles(files, folders, single, stop);
}

}  // namespace purgeon
