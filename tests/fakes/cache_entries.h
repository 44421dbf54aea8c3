// Browser cache entry files as the browsers write them, for tests.
#pragma once

#include <cstdint>
#include <string>

namespace purgeon::fakes {

inline void append32(std::string& out, std::uint32_t value, bool bigEndian) {
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((value >> (8 * (bigEndian ? 3 - i : i))) & 0xFF);
}

// A Chromium simple-cache entry's start: the header, the key's length as given, then the key.
inline std::string simpleCacheEntry(const std::string& key, std::uint32_t length,
                                    std::uint64_t magic = 0xfcfb6d1ba7725c30ull) {
    std::string out;
    for (const std::uint32_t field :
         {static_cast<std::uint32_t>(magic), static_cast<std::uint32_t>(magic >> 32), 5u, length,
          0x9e3779b9u, 0u})
        append32(out, field, false);
    return out + key;
}

}  // namespace purgeon::fakes
