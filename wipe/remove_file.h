// Deleting one file, clearing its attributes and trying once more when they block the deletion.
#pragma once

#include <string>

#include "platform/files.h"

namespace purgeon {

// Deletes the file; when access is denied (a read-only file), resets its attributes to normal and
// deletes it once more. Gives the outcome of the last attempt.
Status RemoveFile(FileSystem& files, const std::wstring& path);

// A deletion that found nothing to delete leaves nothing behind either.
bool removedOrGone(const Status& status);

// A new name, or a new file or folder, that the volume says is taken.
bool nameTaken(const Status& status);

}  // namespace purgeon
