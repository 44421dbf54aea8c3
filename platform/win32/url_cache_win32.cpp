// The WinINet URL cache: size probe and fetch for every entry, and deletion by name.
#include "platform/win32/url_cache_win32.h"

#include "platform/win32/handles.h"
#include "platform/win32/win32_status.h"

namespace purgeon::win32 {

namespace {

// Allocates a fixed block of exactly `size` bytes with the size written into its first field,
// as the cache expects of the buffer it fills. Empty when there is no room (or a size too small
// for any entry, which is taken the same way).
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
    entry.size = (static_cast<std::uint64_t>(info->dwSizeHigh) << 32) | info->dwSizeLow;
    if (info->lpszSourceUrlName) entry.sourceUrlName = info->lpszSourceUrlName;
    return entry;
}

// How a walk ended when a probe found no entry waiting: at the end, or by a failure.
Status walkEnd() {
    const DWORD error = ::GetLastError();
    return error == ERROR_NO_MORE_ITEMS ? Status::success() : Status::error(error);
}

}  // namespace

Status WinInetUrlCache::enumerate(const std::function<void(const UrlCacheEntry&)>& visit) {
    // Each entry is probed for its size first. While an entry waits, the probe fails with
    // ERROR_INSUFFICIENT_BUFFER; after the last one it fails with ERROR_NO_MORE_ITEMS.
    DWORD size = 0;
    UniqueUrlCacheFind find(::FindFirstUrlCacheEntryW(nullptr, nullptr, &size));
    if (find || ::GetLastError() != ERROR_INSUFFICIENT_BUFFER) return walkEnd();

    UniqueLocalMem block = allocateEntryBlock(size);
    if (!block) return Status::error(ERROR_NOT_ENOUGH_MEMORY);
    find.reset(::FindFirstUrlCacheEntryW(
        nullptr, static_cast<INTERNET_CACHE_ENTRY_INFOW*>(block.get()), &size));
    if (!find) return lastError();

    for (;;) {
        const UrlCacheEntry entry = entryFrom(block);
        block.reset();  // freed before the next entry is probed
        visit(entry);

        size = 0;
        ::FindNextUrlCacheEntryW(find.get(), nullptr, &size);
        if (size == 0 || ::GetLastError() != ERROR_INSUFFICIENT_BUFFER) return walkEnd();
        block = allocateEntryBlock(size);
        if (!block) return Status::error(ERROR_NOT_ENOUGH_MEMORY);
        if (!::FindNextUrlCacheEntryW(
                find.get(), static_cast<INTERNET_CACHE_ENTRY_INFOW*>(block.get()), &size)) {
            return lastError();
        }
    }
}

Status WinInetUrlCache::remove(const std::wstring& sourceUrlName) {
    return callStatus(::DeleteUrlCacheEntryW(sourceUrlName.c_str()));
}

}  // namespace purgeon::win32
