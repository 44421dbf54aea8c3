// The current user's registry over the Win32 API.
#pragma once

#include "platform/registry.h"
#include "platform/win32/handles.h"

namespace purgeon::win32 {

class Win32Registry : public Registry {
public:
    Status query(const std::wstring& subKey, const std::wstring& name, RegValue& value) override;
    Status setString(const std::wstring& subKey, const std::wstring& name,
                     const std::wstring& text) override;
    Status deleteValue(const std::wstring& subKey, const std::wstring& name) override;
};

// Opens an existing key of the current user's hive.
Status openUserKey(const std::wstring& subKey, REGSAM access, UniqueHkey& key);

// Asks for a value's type and the size of its data.
Status valueTypeAndSize(HKEY key, const std::wstring& name, DWORD& type, DWORD& size);

// Writes a REG_SZ value, its terminating NUL included.
Status writeStringValue(HKEY key, const std::wstring& name, const std::wstring& text);

}  // namespace purgeon::win32
