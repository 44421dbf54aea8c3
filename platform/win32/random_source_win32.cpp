// Random bytes from BCryptGenRandom with the system's preferred generator.
#include "platform/win32/random_source_win32.h"

#include <algorithm>

#include "platform/win32/handles.h"

#include <bcrypt.h>

namespace purgeon::win32 {

Status Win32RandomSource::fill(void* data, std::size_t bytes) {
    // One call takes at most a ULONG's count; larger requests go in pieces.
    constexpr std::size_t kLargestCall = 1u << 30;
    auto* next = static_cast<unsigned char*>(data);
    while (bytes > 0) {
        const ULONG piece = static_cast<ULONG>(std::min(bytes, kLargestCall));
        const NTSTATUS status =
            ::BCryptGenRandom(nullptr, next, piece, BCRYPT_USE_SYSTEM_PREFERRED_RNG);
        // Travels like a COM result code: negative on failure.
        if (status < 0) return Status::error(static_cast<long>(HRESULT_FROM_NT(status)));
        next += piece;
        bytes -= piece;
    }
    return Status::success();
}

}  // namespace purgeon::win32
