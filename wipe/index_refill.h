// A folder's index filled again after a wipe, so that its slack keeps harmless names only.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "platform/files.h"

namespace purgeon {

// The lengths of the names removed from each folder (its path ending in "\").
using RemovedNames = std::map<std::wstring, std::vector<std::size_t>>;

// For each folder, makes as many empty files as names were removed from it, each with a random
// name as long as one of them, then removes them again. NTFS keeps removed names in the slack of a
// folder's index; new entries of the same size take that room again, and once they are removed
// what the slack keeps is theirs. Gives the first failure; the other folders are refilled all the
// same.
Status RefillIndexes(FileSystem& files, const RemovedNames& removed);

}  // namespace purgeon
