// The system's random generator: bytes nobody can predict, for keys.
#pragma once

#include <cstddef>

#include "platform/status.h"

namespace purgeon {

// Slow in bulk under Wine (about 20 MiB/s there, measured): ask it for keys and seeds, and expand
// them in the logic.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual Status fill(void* data, std::size_t bytes) = 0;
};

}  // namespace purgeon
