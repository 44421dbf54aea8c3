// The WinINet URL cache.
#pragma once

#include "platform/url_cache.h"

namespace purgeon::win32 {

// Each entry is read into a block of exactly its own size, freed before the next entry is probed.
class WinInetUrlCache : public UrlCache {
public:
    Status enumerate(const std::function<void(const UrlCacheEntry&)>& visit) override;
    Status remove(const std::wstring& sourceUrlName) override;
};

}  // namespace purgeon::win32
