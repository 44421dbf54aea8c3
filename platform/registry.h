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

struct RegValue {
    long status = 0;  // of the first query (type and size); a missing key gives kErrorInvalidHandle
    std::uint32_t type = 0;
    bool dataRead = false;  // the second query, for the data itself, succeeded
    std::vector<unsigned char> data;
};

class Registry {
public:
    virtual ~Registry() = default;
    // Reads one value under HKEY_CURRENT_USER\subKey.
    virtual RegValue query(const std::wstring& subKey, const std::wstring& name) = 0;
    // Writes a REG_SZ value (its terminating NUL included) under a key opened for writing.
    // Every failure is silent: a key that cannot be opened is left alone.
    virtual void setString(const std::wstring& subKey, const std::wstring& name,
                           const std::wstring& text) = 0;
    // Deletes a value; a missing value or key is no error, and nothing is reported.
    virtual void deleteValue(const std::wstring& subKey, const std::wstring& name) = 0;
};

class SystemErrors {
public:
    virtual ~SystemErrors() = default;
    // The system's text for an error code, as the system words it (ending in a line break).
    virtual std::wstring text(long code) = 0;
};

// Per-user settings: text values by application, section and key.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The stored text, or nothing when the key is missing.
    virtual bool read(const std::wstring& application, const std::wstring& section,
                      const std::wstring& key, std::wstring& text) = 0;
    virtual void write(const std::wstring& application, const std::wstring& section,
                       const std::wstring& key, const std::wstring& text) = 0;
};

}  // namespace purgeon
