// The registry of the current user: one value read raw, one string value written or deleted.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/status.h"

namespace purgeon {

inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;

// A value as the registry holds it.
struct RegValue {
    std::uint32_t type = 0;
    bool dataRead = false;  // the data itself could be read (types other than text and DWORD
                            // are not read at all)
    std::vector<unsigned char> data;
};

class Registry {
public:
    virtual ~Registry() = default;
    // Reads one value under HKEY_CURRENT_USER\subKey. The status is that of asking for the value's
    // type and size; a missing key gives kErrorInvalidHandle, a missing value kErrorFileNotFound.
    virtual Status query(const std::wstring& subKey, const std::wstring& name, RegValue& value) = 0;
    // Writes a REG_SZ value (its terminating NUL included) under an existing key; the key is not
    // created.
    virtual Status setString(const std::wstring& subKey, const std::wstring& name,
                             const std::wstring& text) = 0;
    // Deletes a value; a value or key that is not there is success.
    virtual Status deleteValue(const std::wstring& subKey, const std::wstring& name) = 0;
};

}  // namespace purgeon
