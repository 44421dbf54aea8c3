// The settings store in the current user's registry hive.
#pragma once

#include "platform/settings_store.h"

namespace purgeon::win32 {

// Settings live in the current user's hive, under Software\<application>\<section>, as REG_SZ
// values; the application title's surrounding blanks are left out of the key name.
class Win32SettingsStore : public SettingsStore {
public:
    explicit Win32SettingsStore(std::wstring root = L"Software") : m_root(std::move(root)) {}
    Status read(const std::wstring& application, const std::wstring& section,
                const std::wstring& key, std::wstring& text) override;
    Status write(const std::wstring& application, const std::wstring& section,
                 const std::wstring& key, const std::wstring& text) override;
    std::wstring keyPath(const std::wstring& application, const std::wstring& section) const;

private:
    std::wstring m_root;
};

}  // namespace purgeon::win32
