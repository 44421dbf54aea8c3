// The system's named folders over the shell's known-folder API.
#pragma once

#include "platform/system_folders.h"
#include "platform/win32/handles.h"

#include <shlobj.h>

namespace purgeon::win32 {

class Win32SystemFolders : public SystemFolders {
public:
    std::wstring tempPath() override;
    std::vector<KnownFolder> knownFolders() override;
    std::vector<std::wstring> systemTempFolders() override;
};

// The path of a known folder; empty when the system has none.
std::wstring knownFolderPath(const KNOWNFOLDERID& id);

}  // namespace purgeon::win32
