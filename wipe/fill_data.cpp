// Where the fill's overwrite data comes from: a stream keyed by the system's generator (or, without
// one, by the clock and the random device), made ahead of the writes.
#include "wipe/fill_data.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

#include "wipe/random_stream.h"

namespace purgeon {

namespace {

// The stream keyed with the key, each call going on where the last ended.
OverwriteSource streamSource(const std::array<unsigned char, RandomStream::kKeyBytes>& key) {
    struct Keyed {
        RandomStream stream;
        std::uint64_t offset = 0;
    };
    auto keyed = std::make_shared<Keyed>(Keyed{RandomStream(key), 0});
    return [keyed](unsigned char* data, std::size_t bytes) {
        keyed->stream.fill(keyed->offset, data, bytes);
        keyed->offset += bytes;
    };
}

}  // namespace

OverwriteSource pseudoRandomSource() {
    std::array<unsigned char, RandomStream::kKeyBytes> key{};
    for (std::size_t at = 0; at < key.size(); at += sizeof(std::uint64_t)) {
        const std::uint64_t seed = freshSeed() + at;
        std::memcpy(key.data() + at, &seed, std::min(sizeof seed, key.size() - at));
    }
    return streamSource(key);
}

OverwriteSource keyedOverwriteSource(RandomSource& random) {
    std::array<unsigned char, RandomStream::kKeyBytes> key{};
    if (!random.fill(key.data(), key.size())) return pseudoRandomSource();
    return streamSource(key);
}

}  // namespace purgeon
