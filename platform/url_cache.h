// The browser's URL cache: walk its entries and delete one by name.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/status.h"

namespace purgeon {

// Type bit of an ordinary cache entry; entries without it belong to other kinds of store.
inline constexpr std::uint32_t kNormalCacheEntry = 0x1;

struct UrlCacheEntry {
    std::wstring sourceUrlName;
    std::uint32_t type = 0;
    std::uint64_t size = 0;  // bytes of the entry's local file
};

class UrlCache {
public:
    virtual ~UrlCache() = default;
    // Calls visit for each entry in the cache's own order. A failure part-way ends the walk and is
    // the result; what was visited stays visited. An empty cache is success.
    virtual Status enumerate(const std::function<void(const UrlCacheEntry&)>& visit) = 0;
    // Deletes the entry with exactly this source URL name. A name the cache does not hold fails
    // with kErrorFileNotFound.
    virtual Status remove(const std::wstring& sourceUrlName) = 0;
};

}  // namespace purgeon
