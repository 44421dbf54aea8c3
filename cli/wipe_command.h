// The command line's wipes: paths wiped as the Secure Wipe tab wipes them, and a volume's free
// space, without a question.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "clean/clean_context.h"

namespace purgeon {

// Where a command writes its lines for the user.
using Tell = std::function<void(const std::wstring&)>;

// Each path as the Secure Wipe tab wipes it, with no question: a folder through the folder guard
// and every file below it, a file alone, at the shredding level quick gives. What was wiped is
// never named, on the console (which may be a file) nor in the log: a path is told by its place
// on the line. What was not wiped is named on the console, with why; the log gets counts only.
// Gives the exit code.
int runWipe(CleanContext& context, bool quick, const std::vector<std::wstring>& paths,
            const Tell& tell);

// The free space of the volume the folder names, with no question. Gives the exit code.
int runFreeSpace(CleanContext& context, const std::wstring& folder, const Tell& tell);

}  // namespace purgeon
