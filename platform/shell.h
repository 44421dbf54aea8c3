// Handing a document or web address to the shell.
#pragma once

#include <cstdint>
#include <string>

#include "platform/status.h"

namespace purgeon {

// What the Recycle Bins of all drives hold together.
struct RecycleBinContents {
    std::uint64_t items = 0;
    std::uint64_t bytes = 0;
};

class Shell {
public:
    virtual ~Shell() = default;
    // Opens the target with its type's default verb (a web address in the user's browser).
    // Succeeds once the shell has handed it on; whether a page then loads is not known here.
    virtual Status open(const std::wstring& target) = 0;
    // Opens a text file in the viewer registered for its type, or in Notepad when there is none.
    virtual Status openText(const std::wstring& path) = 0;
    // Empties the Recycle Bins of all drives without asking. An empty bin is success.
    virtual Status emptyRecycleBin() = 0;
    // Counts the items in the Recycle Bins of all drives and adds up their sizes.
    virtual Status queryRecycleBin(RecycleBinContents& contents) = 0;
};

}  // namespace purgeon
