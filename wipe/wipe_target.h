// What the wipe command asks of its targets: does the file exist, and what is it called.
#pragma once

#include <string>

#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/system_errors.h"

namespace purgeon {

// True for a file of more than 0 bytes. A missing file is absent silently; any other failure of
// the query (a malformed name, a missing folder) is told to the user with the system's words.
bool FileExists(FileSystem& files, SystemErrors& errors, Dialogs& dialogs,
                const std::wstring& path);

// The part after the last "\", or the whole text when there is none.
std::wstring fileNameOf(const std::wstring& path);

}  // namespace purgeon
