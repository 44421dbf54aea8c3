// The WinINet URL cache: size probe and fetch for every entry, and deletion by name.
#include "platform/win32/win32_platform.h"

namespace purgeon::win32 {

namespace {

// Allocates a fixed block of exactly `size` bytes with the size written into its first field,
// as the cache expects of the buffer it fills.
UniqueLocalMem allocateEntryBlock(DWORD size) {
    if (size < sizeof(DWORD)) return UniqueLocalMem();
    UniqueLocalMem block(::LocalAlloc(LMEM_FIXED, size));
    if (block) *static_cast<DWORD*>(block.get()) = size;
    return block;
}

UrlCacheEntry entryFrom(const UniqueLocalMem& block) {
    const auto* info = static_cast<const INTERNET_CACHE_ENTRY_INFOW*>(block.get());
    UrlCacheEntry entry;
    entry.type = info->CacheEntryType;
    if (info->lpszSourceUrlName) entry.sourceUrlName = info->lpszSourceUrlName;
    return entry;
}

}  // namespace

void WinInetUrlCache::enumerate(const std::function<void(const UrlCacheEntry&)>& visit) {
    DWORD size = 0;
    UniqueUrlCacheFind find(::FindFirstUrlCacheEntryW(nullptr, nullptr, &size));
    if (find || ::GetLastError() != ERROR_INSUFFICIENT_BUFFER) return;  // empty or refused

    UniqueLocalMem block = allocateEntryBlock(size);
    if (!block) return;
    find.reset(::FindFirstUrlCacheEntryW(
        nullptr, static_cast<INTERNET_CACHE_ENTRY_INFOW*>(block.get()), &size));
    if (!find) return;

    for (;;) {
        const UrlCacheEntry entry = entryFrom(block);
        block.reset();  // freed before the next entry is probed
        visit(entry);

        size = 0;
        ::FindNextUrlCacheEntryW(find.get(), nullptr, &size);
        if (size == 0 || ::GetLastError() != ERROR_INSUFFICIENT_BUFFER) return;
        block = allocateEntryBlock(size);
        if (!block) return;
        if (!::FindNextUrlCacheEntryW(
                find.get(), static_cast<INTERNET_CACHE_ENTRY_INFOW*>(block.get()), &size)) {
            return;
        }
    }
}

bool WinInetUrlCache::remove(const std::wstring& sourceUrlName) {
    return ::DeleteUrlCacheEntryW(sourceUrlName.c_str()) != FALSE;
}

}  // namespace purgeon::win32
