// What a free-space wipe tells the user and the log: refusals, the question, the outcome. The
// texts name volumes and the fill folder, never a file.
#pragma once

#include <cstdint>
#include <string>

#include "wipe/free_space.h"

namespace purgeon {

// "The free space of \\server\share\ cannot be wiped: it is a network drive."
std::wstring freeSpaceRefusal(const FreeSpaceTarget& target);

// The question before a fill: what it does, and that other programs may find the disk full.
std::wstring freeSpaceQuestion(const std::wstring& root, std::uint64_t freeBytes);

// What came of a fill, for a box or the console; systemText is the system's words for
// result.status.
std::wstring freeSpaceMessage(const std::wstring& root, const FreeSpaceResult& result,
                              const std::wstring& systemText);

// The log's line for a fill: counts, sizes and the outcome.
std::wstring freeSpaceLogLine(const std::wstring& root, const FreeSpaceResult& result,
                              const std::wstring& systemText);

// The log's line for the start's sweep.
std::wstring leftoverLogLine(const LeftoverSweep& sweep);

}  // namespace purgeon
