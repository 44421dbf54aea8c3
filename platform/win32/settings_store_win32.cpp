// Settings as REG_SZ values under Software\<application>\<section>.
#include "platform/win32/settings_store_win32.h"

#include <cwctype>

#include "platform/win32/registry_win32.h"
#include "platform/win32/win32_status.h"

namespace purgeon::win32 {

namespace {

std::wstring withoutBlanks(const std::wstring& text) {
    size_t first = 0;
    size_t last = text.size();
    while (first < last && std::iswspace(text[first])) ++first;
    while (last > first && std::iswspace(text[last - 1])) --last;
    return text.substr(first, last - first);
}

}  // namespace

std::wstring Win32SettingsStore::keyPath(const std::wstring& application,
                                         const std::wstring& section) const {
    return m_root + L"\\" + withoutBlanks(application) + L"\\" + section;
}

Status Win32SettingsStore::read(const std::wstring& application, const std::wstring& section,
                                const std::wstring& key, std::wstring& text) {
    UniqueHkey hkey;
    if (const Status opened = openUserKey(keyPath(application, section), KEY_READ, hkey); !opened)
        return opened;
    DWORD type = 0;
    DWORD size = 0;
    if (const Status asked = valueTypeAndSize(hkey.get(), key, type, size); !asked) return asked;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return Status::error(ERROR_DATATYPE_MISMATCH);
    std::wstring buffer(size / sizeof(wchar_t) + 1, L'\0');
    DWORD read = size;
    if (const Status got =
            registryStatus(::RegQueryValueExW(hkey.get(), key.c_str(), nullptr, &type,
                                              reinterpret_cast<BYTE*>(buffer.data()), &read));
        !got)
        return got;
    text.assign(buffer.c_str());
    return Status::success();
}

Status Win32SettingsStore::write(const std::wstring& application, const std::wstring& section,
                                 const std::wstring& key, const std::wstring& text) {
    UniqueHkey hkey;
    const LSTATUS created =
        ::RegCreateKeyExW(HKEY_CURRENT_USER, keyPath(application, section).c_str(), 0, nullptr, 0,
                          KEY_WRITE, nullptr, hkey.put(), nullptr);
    if (created != ERROR_SUCCESS) {
        hkey.release();  // nothing was opened: nothing to close
        return registryStatus(created);
    }
    return writeStringValue(hkey.get(), key, text);
}

}  // namespace purgeon::win32
