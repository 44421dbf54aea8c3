// Per-user settings: text values by application, section and key.
#pragma once

#include <string>

#include "platform/status.h"

namespace purgeon {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The stored text. A key (or section) that is not there fails with kErrorFileNotFound.
    virtual Status read(const std::wstring& application, const std::wstring& section,
                        const std::wstring& key, std::wstring& text) = 0;
    // Stores the text, creating the section when needed.
    virtual Status write(const std::wstring& application, const std::wstring& section,
                         const std::wstring& key, const std::wstring& text) = 0;
};

}  // namespace purgeon
