// A chosen file or folder wiped as one operation of the host: what the Secure Wipe tab and /wipe
// both run, and the warning both ask first.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "clean/operation.h"
#include "wipe/chosen_wipe.h"

namespace purgeon {

// Asked before a wipe of chosen files and folders; what will be wiped is listed below it.
inline constexpr wchar_t kWipeWarning[] =
    L"Warning! this will wipe the specified files and delete them. Once this is done they cannot "
    L"be recovered";

// The file, wiped as one operation ("wiping a file"). Gives what the host's runOperation gives;
// result stays notReached when the work never began. later: see WipeChosenFile.
bool wipeFileOperation(OperationHost& operations, FileSystem& files, const std::wstring& path,
                       WipeMethod method, ShredResult& result, RemovedNames* later = nullptr);

struct FolderWipeJob {
    WipeMethod method = WipeMethod::quick;
    std::size_t threads = 1;  // files in flight at once
    // Told each file's outcome, one call at a time, from whichever thread shredded it.
    std::function<void(const std::wstring& path, const ShredResult& result)> outcome;
    ProgressView view;  // the host's view of the progress, on the host's thread
};

// Every file below the folder (its final path, as the folder guard gave it), listed afresh into
// found and wiped as one operation ("wiping files"). Gives what the host's runOperation gives.
bool wipeFolderOperation(OperationHost& operations, FileSystem& files, FoundFileList& found,
                         const std::wstring& folder, const FolderWipeJob& job, FolderWipe& wiped);

}  // namespace purgeon
