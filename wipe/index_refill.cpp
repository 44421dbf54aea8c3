// Harmless names made and removed again where wiped files' names were.
#include "wipe/index_refill.h"

#include "wipe/random_name.h"
#include "wipe/remove_file.h"

namespace purgeon {

namespace {

// Names tried for each file, should they be taken.
constexpr int kNameTries = 8;

}  // namespace

Status RefillIndexes(FileSystem& files, const RemovedNames& removed, bool longNames) {
    NameMaker names;
    Status first;
    auto note = [&](const Status& status) {
        if (first && !status) first = status;
    };
    for (const auto& [folder, removedLengths] : removed) {
        std::vector<std::size_t> lengths = removedLengths;
        if (longNames) lengths.insert(lengths.end(), kLongNames, kLongestName);
        std::vector<std::wstring> made;
        for (const std::size_t length : lengths) {
            Status status;
            std::wstring path;
            for (int tries = 0; tries < kNameTries; ++tries) {
                path = folder + names.make(length);
                status = files.makeFile(path);
                if (!nameTaken(status)) break;
            }
            note(status);
            if (!status) break;  // the folder takes no more
            made.push_back(path);
        }
        for (const std::wstring& path : made) note(files.deleteFile(path));
    }
    return first;
}

}  // namespace purgeon
