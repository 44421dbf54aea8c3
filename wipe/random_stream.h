// The random data of an overwriting pass: a fast stream expanded from a key, made again to check.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace purgeon {

// Four interleaved xoshiro256** generators, seeded afresh every kSegment bytes from the key and
// the segment's number, so that any stretch of a pass can be made again to compare with what the
// device gives back. Not a cipher: a pass must be unguessable before it is written and must not
// compress, which a 256-bit key from the system's generator gives, and it must keep up with the
// device, which the system's generator does not do under Wine (about 20 MiB/s there; this stream
// makes several GB/s).
class RandomStream {
public:
    static constexpr std::size_t kKeyBytes = 32;
    static constexpr std::size_t kSegment = 1 << 20;

    explicit RandomStream(const std::array<unsigned char, kKeyBytes>& key);
    // Writes the stream's bytes [offset, offset + bytes) to out.
    void fill(std::uint64_t offset, unsigned char* out, std::size_t bytes) const;
    // Whether data holds the stream's bytes [offset, offset + bytes).
    bool matches(std::uint64_t offset, const unsigned char* data, std::size_t bytes) const;

private:
    template <typename Visit>
    bool walk(std::uint64_t offset, std::size_t bytes, Visit& visit) const;

    std::array<std::uint64_t, 4> m_key{};
};

// A seed from the clock and the library's random device, for what must differ from run to run but
// need not be secret.
std::uint64_t freshSeed();

}  // namespace purgeon
