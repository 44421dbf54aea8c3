// The places, the Windows version, the program's rights, any registry key and folder removal over
// the Win32 API.
#pragma once

#include "platform/trace_system.h"

namespace purgeon::win32 {

class Win32TraceSystem : public TraceSystem {
public:
    std::vector<std::wstring> place(const std::wstring& name) override;
    WindowsVersion windowsVersion() override;
    bool elevated() override;
    Status keyExists(const std::wstring& key, bool& exists) override;
    Status valueExists(const std::wstring& key, const std::wstring& name, bool& exists) override;
    Status listValues(const std::wstring& key, std::vector<RegistryEntry>& values) override;
    Status listSubkeys(const std::wstring& key, std::vector<std::wstring>& names) override;
    Status deleteKey(const std::wstring& key) override;
    Status deleteValue(const std::wstring& key, const std::wstring& name) override;
    Status removeEmptyFolder(const std::wstring& path) override;
    Status writeWholeFile(const std::wstring& path, const std::string& bytes) override;
};

}  // namespace purgeon::win32
