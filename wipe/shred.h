// Overwriting a file in place, pass after pass, before it is removed.
#pragma once

#include <cstdint>
#include <string>

#include "platform/files.h"

namespace purgeon {

inline constexpr std::uint64_t kShredBlock = 1024;
inline constexpr unsigned char kShredByte = 0x01;

// Runs `passes` overwrite passes over the file and removes it. Each pass measures the file afresh
// and writes (length div 1024) + 1 blocks of 0x01 from its start, so the file ends every pass a
// whole number of blocks long, one block longer than its length rounded down. A missing file in an
// existing folder is created by the first pass. A read-only file is made writable first. Each pass
// is flushed to the device. Every failing step is skipped silently and the next one runs.
void ShredFile(FileSystem& files, const std::wstring& path, int passes);

}  // namespace purgeon
