// Registry values read raw, string values written and deleted under HKEY_CURRENT_USER.
#include "platform/win32/registry_win32.h"

#include <algorithm>

#include "platform/win32/win32_status.h"

namespace purgeon::win32 {

Status openUserKey(const std::wstring& subKey, REGSAM access, UniqueHkey& key) {
    const LSTATUS opened = ::RegOpenKeyExW(HKEY_CURRENT_USER, subKey.c_str(), 0, access, key.put());
    if (opened != ERROR_SUCCESS) key.release();  // nothing was opened: nothing to close
    return registryStatus(opened);
}

Status valueTypeAndSize(HKEY key, const std::wstring& name, DWORD& type, DWORD& size) {
    return registryStatus(::RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size));
}

Status writeStringValue(HKEY key, const std::wstring& name, const std::wstring& text) {
    return registryStatus(
        ::RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                         static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))));
}

Status Win32Registry::query(const std::wstring& subKey, const std::wstring& name, RegValue& value) {
    value = RegValue{};
    // A key that cannot be opened answers as a query on no key does: the invalid-handle error,
    // which is what the user is told.
    UniqueHkey key;
    if (!openUserKey(subKey, KEY_READ, key)) return Status::error(ERROR_INVALID_HANDLE);
    DWORD type = 0;
    DWORD size = 0;
    if (const Status asked = valueTypeAndSize(key.get(), name, type, size); !asked) return asked;
    value.type = type;
    if (type != REG_SZ && type != REG_EXPAND_SZ && type != REG_DWORD) return Status::success();
    value.data.resize(size);
    DWORD read = size;
    value.dataRead = ::RegQueryValueExW(key.get(), name.c_str(), nullptr, &type,
                                        value.data.empty() ? nullptr : value.data.data(),
                                        &read) == ERROR_SUCCESS;
    value.data.resize(std::min<size_t>(read, value.data.size()));
    return Status::success();
}

Status Win32Registry::setString(const std::wstring& subKey, const std::wstring& name,
                                const std::wstring& text) {
    UniqueHkey key;
    if (const Status opened = openUserKey(subKey, KEY_WRITE, key); !opened) return opened;
    return writeStringValue(key.get(), name, text);
}

Status Win32Registry::deleteValue(const std::wstring& subKey, const std::wstring& name) {
    UniqueHkey key;
    Status status = openUserKey(subKey, KEY_WRITE, key);
    if (status) status = registryStatus(::RegDeleteValueW(key.get(), name.c_str()));
    // What is not there needs no deleting.
    return status.code == ERROR_FILE_NOT_FOUND ? Status::success() : status;
}

}  // namespace purgeon::win32
