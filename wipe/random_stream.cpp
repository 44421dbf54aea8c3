// Four xoshiro256** lanes per segment, seeded from the key and the segment's number.
#include "wipe/random_stream.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstring>
#include <random>

namespace purgeon {

namespace {

constexpr std::size_t kLanes = 4;
constexpr std::size_t kStep = kLanes * sizeof(std::uint64_t);  // bytes one step makes

// SplitMix64's output function: spreads a number's bits over all 64.
std::uint64_t mixed(std::uint64_t value) {
    value += 0x9E3779B97F4A7C15ull;
    value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ull;
    value = (value ^ (value >> 27)) * 0x94D049BB133111EBull;
    return value ^ (value >> 31);
}

class Lanes {
public:
    Lanes(const std::array<std::uint64_t, 4>& key, std::uint64_t segment) {
        // Every lane of every segment starts from its own point, and every word of its state
        // depends on the whole key, so that even the first bytes do.
        for (std::size_t lane = 0; lane < kLanes; ++lane) {
            std::uint64_t chained = mixed(segment * kLanes + lane);
            for (const std::uint64_t word : key) chained = mixed(chained ^ word);
            for (auto& state : m_state) state[lane] = chained = mixed(chained);
        }
    }

    void step(unsigned char* out) {
        // Lane by lane within each line, which the compiler can run side by side.
        std::uint64_t results[kLanes];
        auto& [s0, s1, s2, s3] = m_state;
        for (std::size_t i = 0; i < kLanes; ++i) results[i] = std::rotl(s1[i] * 5, 7) * 9;
        for (std::size_t i = 0; i < kLanes; ++i) {
            const std::uint64_t t = s1[i] << 17;
            s2[i] ^= s0[i];
            s3[i] ^= s1[i];
            s1[i] ^= s2[i];
            s0[i] ^= s3[i];
            s2[i] ^= t;
            s3[i] = std::rotl(s3[i], 45);
        }
        std::memcpy(out, results, kStep);
    }

private:
    std::array<std::array<std::uint64_t, kLanes>, 4> m_state;
};

}  // namespace

RandomStream::RandomStream(const std::array<unsigned char, kKeyBytes>& key) {
    std::memcpy(m_key.data(), key.data(), kKeyBytes);
}

// Hands visit the stream's bytes in order, each with its place from the start: whole steps as the
// lanes that make them, so that a step can be made in place, and the ragged ends as bytes made
// aside. False as soon as visit answers false.
template <typename Visit>
bool RandomStream::walk(std::uint64_t offset, std::size_t bytes, Visit& visit) const {
    unsigned char made[kStep];
    for (std::size_t at = 0; at < bytes;) {
        const std::uint64_t segment = offset / kSegment;
        const auto within = static_cast<std::size_t>(offset % kSegment);
        const std::size_t start = at;
        const std::size_t end = at + std::min<std::size_t>(bytes - at, kSegment - within);
        Lanes lanes(m_key, segment);
        // Steps before the offset are made and dropped: the passes start at whole segments.
        for (std::size_t skipped = within / kStep; skipped > 0; --skipped) lanes.step(made);
        if (const std::size_t skip = within % kStep; skip > 0) {
            lanes.step(made);
            const std::size_t n = std::min(kStep - skip, end - at);
            if (!visit.part(made + skip, at, n)) return false;
            at += n;
        }
        for (; end - at >= kStep; at += kStep)
            if (!visit.whole(lanes, at)) return false;
        if (at < end) {
            lanes.step(made);
            if (!visit.part(made, at, end - at)) return false;
            at = end;
        }
        offset += end - start;
    }
    return true;
}

void RandomStream::fill(std::uint64_t offset, unsigned char* out, std::size_t bytes) const {
    struct Copy {
        unsigned char* const out;
        bool whole(Lanes& lanes, std::size_t at) {
            lanes.step(out + at);
            return true;
        }
        bool part(const unsigned char* made, std::size_t at, std::size_t n) {
            std::memcpy(out + at, made, n);
            return true;
        }
    } copy{out};
    walk(offset, bytes, copy);
}

bool RandomStream::matches(std::uint64_t offset, const unsigned char* data,
                           std::size_t bytes) const {
    struct Compare {
        const unsigned char* const data;
        bool whole(Lanes& lanes, std::size_t at) {
            unsigned char made[kStep];
            lanes.step(made);
            return std::memcmp(data + at, made, kStep) == 0;
        }
        bool part(const unsigned char* made, std::size_t at, std::size_t n) {
            return std::memcmp(data + at, made, n) == 0;
        }
    } compare{data};
    return walk(offset, bytes, compare);
}

std::uint64_t freshSeed() {
    std::uint64_t seed = static_cast<std::uint64_t>(
        std::chrono::high_resolution_clock::now().time_since_epoch().count());
    try {
        std::random_device device;
        seed ^= (static_cast<std::uint64_t>(device()) << 32) ^ device();
    } catch (...) {
        // Without a device the clock alone seeds it: it still differs from run to run.
    }
    return seed;
}

}  // namespace purgeon
