// The system's preferred random generator (BCryptGenRandom).
#pragma once

#include "platform/random_source.h"

namespace purgeon::win32 {

// Holds nothing: the system's preferred generator needs no algorithm handle.
class Win32RandomSource : public RandomSource {
public:
    Status fill(void* data, std::size_t bytes) override;
};

}  // namespace purgeon::win32
