// Registry values as text, and the autostart value under the current user's Run key.
#pragma once

#include <string>
#include <vector>

#include "platform/app_info.h"
#include "platform/dialogs.h"
#include "platform/registry.h"
#include "platform/system_errors.h"

namespace purgeon {

inline constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr wchar_t kShellFoldersKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// UTF-16 little-endian bytes to text, up to the first NUL unit (all of it when there is none).
std::wstring textFromUtf16(const std::vector<unsigned char>& bytes);

// A value read as text: REG_SZ and REG_EXPAND_SZ up to their first NUL (unexpanded), REG_DWORD as
// signed decimal, anything else (or data that could not be read) empty.
std::wstring QueryRegistryValue(const RegValue& value);

// Reads a value of the current user's hive as text (see QueryRegistryValue); a value that cannot
// be queried at all gives the failure and leaves text empty.
Status ReadRegistryText(Registry& registry, const std::wstring& subKey,
                        const std::wstring& valueName, std::wstring& text);

// Reads a value of the current user's hive as text. When the value cannot be queried at all, the
// system's text for the failure is shown in a box titled with the application title, and the
// result is empty.
std::wstring GetRegistryValue(Registry& registry, SystemErrors& errors, Dialogs& dialogs,
                              const std::wstring& subKey, const std::wstring& valueName);

// The autostart data: the program's full path in double quotes, so that a path with blanks
// cannot be read as another program followed by arguments.
std::wstring autostartCommand(const AppInfo& app);

// Writes (enable) or deletes the value named after the application title under the Run key.
Status SetAutostart(Registry& registry, const AppInfo& app, bool enable);

}  // namespace purgeon
