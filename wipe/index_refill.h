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

// Files made in a refilled folder beside one for each removed name, with names as long as a name
// can be: they make the index grow out of the folder's own file record, and back over it.
inline constexpr int kLongNames = 16;
inline constexpr std::size_t kLongestName = 255;

// For each folder, makes as many empty files as names were removed from it, each with a random
// name as long as one of them, and (with longNames) kLongNames with the longest names, then
// removes them again.
// NTFS keeps removed names in the slack of a folder's index: in its index blocks, and in its own
// file record from when the index still fitted there. New entries of the same size take the
// blocks' room again, and the long ones, pushed up into the record as the blocks split, the
// record's; once they are removed what the slack keeps is theirs. Gives the first failure; the
// other folders are refilled all the same.
Status RefillIndexes(FileSystem& files, const RemovedNames& removed, bool longNames = true);

}  // namespace purgeon
